// A dialog that moves with the pointer when it is pressed anywhere on its own surface, as if
// its caption had been grabbed; presses on child controls that take them stay with the control.
#pragma once
#include "framework/Dialog.h"

class CDraggableDialog : public CDialog {
public:
    CDraggableDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Starts the move; never consumes the press, which then gets the default processing.
    void OnLButtonDown(UINT nFlags, CPoint point);
    // Returns the default processing's result (non-zero: the background is erased). A dialog
    // that paints its own background overrides this and calls it when it cannot paint.
    virtual BOOL OnEraseBkgnd(CDCHandle* pDC);

private:
    BOOL m_bDragAnywhere = TRUE;
};
