#include "framework/WndHandle.h"

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

BOOL CWndHandle::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWndHandle::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

CString CWndHandle::GetWindowText() const {
    const int n = ::GetWindowTextLengthW(m_hWnd);
    CString text;
    text.resize(static_cast<size_t>(n) + 1);
    const int got = ::GetWindowTextW(m_hWnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}
