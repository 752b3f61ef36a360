#include "controls/DraggableDialog.h"

CDraggableDialog::CDraggableDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd) {}

BOOL CDraggableDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    return TRUE;
}

LRESULT CDraggableDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    case WM_ERASEBKGND: {
        CDC dc(reinterpret_cast<HDC>(wParam));
        return OnEraseBkgnd(&dc);
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}

void CDraggableDialog::OnLButtonDown(UINT, CPoint point) {
    // Posted, not sent: the press is fully handled before the system's move loop takes over.
    if (m_bDragAnywhere)
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}

BOOL CDraggableDialog::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}

void CDraggableDialog::OnSize(UINT, int, int) {
    Default();
}
