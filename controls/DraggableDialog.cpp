#include "controls/DraggableDialog.h"

CDraggableDialog::CDraggableDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd) {}

LRESULT CDraggableDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    case WM_ERASEBKGND: {
        CDCHandle dc(reinterpret_cast<HDC>(wParam));
        return OnEraseBkgnd(&dc);
    }
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

BOOL CDraggableDialog::OnEraseBkgnd(CDCHandle*) {
    return static_cast<BOOL>(Default());
}
