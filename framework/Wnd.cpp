#include "framework/Wnd.h"
#include "framework/WinApp.h"
#include <commctrl.h>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

constexpr UINT_PTR kSubclassId = 0x5A56; // one id for every framework subclass

// Windows are owned by threads, but lookups may come from any thread, so the map is shared.
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*> g_permanent;

// Borrowed wrappers for windows no object is attached to; they only carry the handle.
thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> t_temporary;

thread_local CWnd* t_wndInit = nullptr;
thread_local LPCWSTR t_classInit = nullptr;
thread_local HHOOK t_cbtHook = nullptr;
thread_local int t_hookDepth = 0;

bool ClassMatches(HWND hwnd, LPCWSTR expected) {
    if (!expected)
        return true;
    wchar_t name[256];
    if (!::GetClassNameW(hwnd, name, 256))
        return false;
    if (IS_INTRESOURCE(expected)) {
        wchar_t atom[16];
        wsprintfW(atom, L"#%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(expected)));
        return ::lstrcmpiW(name, atom) == 0;
    }
    return ::lstrcmpiW(name, expected) == 0;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_wndInit) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        // Input-method helper windows may be made first; wait for the one asked for.
        if (ClassMatches(hwnd, t_classInit)) {
            CWnd* wnd = t_wndInit;
            t_wndInit = nullptr;
            wnd->AttachCreated(hwnd);
        }
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

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd))
        return wnd;
    auto& slot = t_temporary[hwnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = hwnd;
    }
    return slot.get();
}

void CWnd::Hook(HWND hwnd) {
    m_hWnd = hwnd;
    {
        std::lock_guard lock(g_mapLock);
        g_permanent[hwnd] = this;
    }
    t_temporary.erase(hwnd);
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
    m_hWnd = hwnd;
    PreSubclassWindow();
    Hook(hwnd);
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
    CCreateHook hook(this, className);
    HWND hwnd = ::CreateWindowExW(
        exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), param);
    if (!hwnd) {
        // Creation failed after the hook attached us: the window is already gone.
        if (m_hWnd && !::IsWindow(m_hWnd))
            Unhook();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR ref) {
    CWnd* wnd = reinterpret_cast<CWnd*>(ref);
    const MSG saved = wnd->m_curMsg;
    wnd->m_curMsg = MSG{hwnd, message, wParam, lParam, 0, {0, 0}};
    ++wnd->m_nDepth;
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dispatcher.
        result = 0;
    }
    wnd->m_curMsg = saved;
    if (message == WM_NCDESTROY)
        wnd->FinishDestroy();
    // PostNcDestroy may delete the object, so it runs only once no handler of it is active.
    if (--wnd->m_nDepth == 0 && wnd->m_bPostNcDestroyDue) {
        wnd->m_bPostNcDestroyDue = false;
        wnd->PostNcDestroy();
    }
    return result;
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

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_bHooked)
        return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_curMsg.message, m_curMsg.wParam, m_curMsg.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        LRESULT result = 0;
        CWnd* child = lParam ? FromHandlePermanent(reinterpret_cast<HWND>(lParam)) : nullptr;
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, &result))
            return result;
        if (OnCommand(wParam, lParam))
            return 0;
        return Default();
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        CWnd* child = hdr ? FromHandlePermanent(hdr->hwndFrom) : nullptr;
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, &result))
            return result;
        if (OnNotify(wParam, lParam, &result))
            return result;
        return Default();
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        CDC dc(reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<LRESULT>(OnCtlColor(&dc, FromHandle(reinterpret_cast<HWND>(lParam)),
                                                    message - WM_CTLCOLORMSGBOX));
    }
    case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        LRESULT result = 0;
        if (dis && dis->CtlType != ODT_MENU) {
            CWnd* child = FromHandlePermanent(dis->hwndItem);
            if (child && child != this && child->OnChildNotify(message, wParam, lParam, &result))
                return TRUE;
        }
        return Default();
    }
    default:
        return Default();
    }
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}
BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    LRESULT result = 0;
    if (pWnd && pWnd != this &&
        pWnd->OnChildNotify(m_curMsg.message, m_curMsg.wParam, m_curMsg.lParam, &result))
        return reinterpret_cast<HBRUSH>(result);
    return reinterpret_cast<HBRUSH>(Default());
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        CDC dc(reinterpret_cast<HDC>(wParam));
        HBRUSH brush = CtlColor(&dc, message - WM_CTLCOLORMSGBOX);
        if (!brush)
            return FALSE;
        *result = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
    if (message == WM_COMMAND)
        return OnReflectedCommand(HIWORD(wParam), result);
    return FALSE;
}

HBRUSH CWnd::CtlColor(CDC*, UINT) {
    return nullptr;
}
BOOL CWnd::OnReflectedCommand(UINT, LRESULT*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (hwnd == stop)
            break;
    }
    return FALSE;
}

namespace {

BOOL ModifyWindowLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, index));
    const DWORD next = (style & ~remove) | add;
    if (style == next)
        return FALSE;
    ::SetWindowLongPtrW(hwnd, index, static_cast<LONG_PTR>(next));
    if (flags)
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

CString CWnd::GetWindowText() const {
    const int n = ::GetWindowTextLengthW(m_hWnd);
    CString text;
    text.resize(static_cast<size_t>(n) + 1);
    const int got = ::GetWindowTextW(m_hWnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}
