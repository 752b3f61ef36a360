#include "tests/support/MessageBoxes.h"

namespace {

struct CBoxSearch {
    DWORD id;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<CBoxSearch*>(context);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    wchar_t title[32] = {}, kind[32] = {};
    GetWindowTextW(window, title, 32);
    GetClassNameW(window, kind, 32);
    if (id == search->id && IsWindowVisible(window) && std::wstring(title) == L"Zorvane" &&
        std::wstring(kind) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM context) {
    auto* text = reinterpret_cast<std::wstring*>(context);
    wchar_t kind[32] = {};
    GetClassNameW(child, kind, 32);
    if (CompareStringOrdinal(kind, -1, L"Static", -1, TRUE) != CSTR_EQUAL)
        return TRUE;
    std::wstring own(GetWindowTextLengthW(child) + 1, L'\0');
    own.resize(GetWindowTextW(child, own.data(), static_cast<int>(own.size())));
    if (own.size() > text->size())
        *text = own;
    return TRUE;
}

} // namespace

HWND FindMessageBox(DWORD id) {
    CBoxSearch search{id, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring MessageBoxText(HWND box) {
    // The text is the box's one static control with words in it (the icon is another).
    std::wstring text;
    EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}
