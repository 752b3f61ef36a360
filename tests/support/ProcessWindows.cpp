#include "tests/support/ProcessWindows.h"

namespace {

struct CSearch {
    DWORD pid;
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<CSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !(*search->match)(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM context) {
    auto* text = reinterpret_cast<std::wstring*>(context);
    if (CompareStringOrdinal(WindowClass(child).c_str(), -1, L"Static", -1, TRUE) != CSTR_EQUAL)
        return TRUE;
    const std::wstring own = WindowTitle(child);
    if (own.size() > text->size())
        *text = own;
    return TRUE;
}

} // namespace

HWND FindProcessWindow(DWORD pid, const std::function<bool(HWND)>& match) {
    CSearch search{pid, &match, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowTitle(HWND hwnd) {
    std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
    return text;
}

std::wstring WindowClass(HWND hwnd) {
    wchar_t name[256] = {};
    return std::wstring(name, GetClassNameW(hwnd, name, 256));
}

HWND FindMessageBox(DWORD pid) {
    return FindProcessWindow(pid, [](HWND window) {
        return IsWindowVisible(window) && WindowTitle(window) == L"Zorvane" &&
               WindowClass(window) == L"#32770";
    });
}

std::wstring MessageBoxText(HWND box) {
    // The text is the box's one static control with words in it (the icon is another).
    std::wstring text;
    EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}
