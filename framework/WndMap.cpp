// The map from handles to objects, attaching and detaching, and the creation hook.
#include "framework/Wnd.h"
#include "framework/WinApp.h"
#include <commctrl.h>
#include <mutex>
#include <unordered_map>

namespace {

constexpr UINT_PTR kSubclassId = 0x5A56; // one id for every framework subclass

// Windows are owned by threads, but lookups may come from any thread, so the map is shared.
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*> g_permanent;

thread_local CWnd* t_wndInit = nullptr;
thread_local LPCWSTR t_classInit = nullptr;
thread_local HHOOK t_cbtHook = nullptr;
thread_local int t_hookDepth = 0;

constexpr int kClassNameChars = 256; // the longest class name the system allows

bool ClassMatches(HWND hwnd, LPCWSTR expected) {
    if (!expected)
        return true;
    wchar_t name[kClassNameChars];
    if (!::GetClassNameW(hwnd, name, kClassNameChars))
        return false;
    if (IS_INTRESOURCE(expected)) {
        wchar_t atom[sizeof "#65535"];
        wsprintfW(atom, L"#%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(expected)));
        return ::lstrcmpiW(name, atom) == 0;
    }
    return ::lstrcmpiW(name, expected) == 0;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_wndInit) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        if (ClassMatches(hwnd, t_classInit))
            CCreateHook::Attach(std::exchange(t_wndInit, nullptr), hwnd);
    }
    return ::CallNextHookEx(t_cbtHook, code, wParam, lParam);
}

} // namespace

CCreateHook::CCreateHook(CWnd* wnd, LPCWSTR className)
    : m_prevWnd(t_wndInit), m_prevClass(t_classInit) {
    t_wndInit = wnd;
    t_classInit = className;
    if (t_hookDepth++ == 0)
        t_cbtHook = ::SetWindowsHookExW(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
}

CCreateHook::~CCreateHook() {
    t_wndInit = m_prevWnd;
    t_classInit = m_prevClass;
    if (--t_hookDepth == 0 && t_cbtHook) {
        ::UnhookWindowsHookEx(t_cbtHook);
        t_cbtHook = nullptr;
    }
}

CWnd::~CWnd() {
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    if (m_hWnd && m_bHooked) {
        HWND hwnd = m_hWnd;
        Unhook();
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    std::lock_guard lock(g_mapLock);
    auto it = g_permanent.find(hwnd);
    return it == g_permanent.end() ? nullptr : it->second;
}

void CWnd::Hook(HWND hwnd) {
    m_hWnd = hwnd;
    {
        std::lock_guard lock(g_mapLock);
        g_permanent[hwnd] = this;
    }
    m_bHooked = ::SetWindowSubclass(hwnd, SubclassProc, kSubclassId,
                                    reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void CWnd::Unhook() {
    if (!m_hWnd)
        return;
    // Unsubclass while the handle is still valid.
    if (m_bHooked)
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    m_bHooked = false;
    std::lock_guard lock(g_mapLock);
    auto it = g_permanent.find(m_hWnd);
    if (it != g_permanent.end() && it->second == this)
        g_permanent.erase(it);
    m_hWnd = nullptr;
}

void CWnd::AttachCreated(HWND hwnd) {
    m_hWnd = hwnd;
    PreSubclassWindow();
    Hook(hwnd);
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd))
        return FALSE;
    AttachCreated(hwnd);
    if (!m_bHooked) {
        Unhook();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    Unhook();
    return hwnd;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
    if (m_hWnd)
        return FALSE;
    HWND parentWnd = parent ? parent->m_hWnd : nullptr;
    return CreateAttached(className, [&] {
               return ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top,
                                        rect.right - rect.left, rect.bottom - rect.top, parentWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                        AfxGetInstanceHandle(), param);
           }) != nullptr;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::FinishDestroy() {
    Unhook();
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        // The main window's end ends the application's loops.
        if (::GetCurrentThreadId() == app->m_nThreadID)
            ::PostQuitMessage(0);
    }
    m_bPostNcDestroyDue = true;
}
