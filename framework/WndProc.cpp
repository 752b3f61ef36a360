// Message dispatch: the subclass procedure, default processing, reflection to controls and
// the pre-translation walk.
#include "framework/Wnd.h"
#include <commctrl.h>
#include <utility>

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
        if (bool* destroyed = std::exchange(wnd->m_pDestroyedDuringCreate, nullptr))
            *destroyed = true;
        wnd->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_bHooked)
        return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_curMsg.message, m_curMsg.wParam, m_curMsg.lParam);
}

namespace {

// The object of the control a parent's message is about, when it has one other than `self`.
CWnd* ControlObject(HWND control, const CWnd* self) {
    CWnd* wnd = CWnd::FromHandlePermanent(control);
    return wnd != self ? wnd : nullptr;
}

} // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        if (CWnd* child = ControlObject(reinterpret_cast<HWND>(lParam), this);
            child && child->OnChildNotify(message, wParam, lParam, &result))
            return result;
        if (OnCommand(wParam, lParam))
            return 0;
        return Default();
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (CWnd* child = hdr ? ControlObject(hdr->hwndFrom, this) : nullptr;
            child && child->OnChildNotify(message, wParam, lParam, &result))
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
        CDCHandle dc(reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<LRESULT>(OnCtlColor(&dc, CWndHandle(reinterpret_cast<HWND>(lParam)),
                                                    message - WM_CTLCOLORMSGBOX));
    }
    case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (CWnd* child =
                dis && dis->CtlType != ODT_MENU ? ControlObject(dis->hwndItem, this) : nullptr;
            child && child->OnChildNotify(message, wParam, lParam, &result))
            return TRUE;
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

HBRUSH CWnd::OnCtlColor(CDCHandle*, CWndHandle wnd, UINT) {
    LRESULT result = 0;
    if (CWnd* child = ControlObject(wnd.m_hWnd, this);
        child && child->OnChildNotify(m_curMsg.message, m_curMsg.wParam, m_curMsg.lParam, &result))
        return reinterpret_cast<HBRUSH>(result);
    return reinterpret_cast<HBRUSH>(Default());
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        CDCHandle dc(reinterpret_cast<HDC>(wParam));
        HBRUSH brush = CtlColor(&dc, message - WM_CTLCOLORMSGBOX);
        if (!brush)
            return FALSE;
        *result = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        return TRUE;
    }
    if (message == WM_COMMAND)
        return OnReflectedCommand(HIWORD(wParam), result);
    return FALSE;
}

HBRUSH CWnd::CtlColor(CDCHandle*, UINT) {
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
