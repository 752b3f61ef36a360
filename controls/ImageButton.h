// A flat owner-drawn push button that shows a bitmap with one see-through colour: no frame
// while idle, a raised one-pixel frame while the pointer is over it, a sunken one while it is
// pressed. It takes over an ordinary button of a dialog template when attached.
#pragma once
#include "controls/MaskedBitmap.h"
#include "framework/Controls.h"

class CImageButton : public CButton {
public:
    CImageButton();
    ~CImageButton() override;

    // Loads the main bitmap and, when nIdleId is not 0, the bitmap shown while the button is
    // idle, from the program's resources. Returns 0 on success (also when the main bitmap is
    // missing: the button then has no image), 1 when a handle is not a bitmap, 2 when a mask
    // cannot be made; on 1 and 2 the button holds no image at all.
    int SetImageBitmaps(UINT nMainId, COLORREF crMainTransparent, UINT nIdleId = 0,
                        COLORREF crIdleTransparent = 0);
    // Gives every state (pointer over, pressed, focused, idle) this background colour instead
    // of the face colour taken from the system at construction: for a button lying on a
    // picture, the picture's colour around it.
    void SetBackgroundColor(COLORREF colour);

    // Turns the control into an owner-drawn button, remembering whether it was the default one.
    void PreSubclassWindow() override;
    // A double click arrives as a second press, so it makes a second click.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Reflected colour request: the hollow stock brush (handled), no colours set.
    HBRUSH CtlColor(CDCHandle* pDC, UINT nCtlColor) override;

protected:
    // Fills `rc` with the background colour of the current state; returns 0.
    virtual DWORD PaintBackground(CDCHandle* pDC, RECT* rc);
    // Draws the one-pixel frame on the edge of `rc`, sunken while pressed; returns 0.
    virtual DWORD PaintFrame(CDCHandle* pDC, RECT* rc);

    // Handlers. Each runs the default processing where noted; none consumes more than it says.
    // Hover start or end after the default processing.
    void OnMouseMove(UINT nFlags, CPoint point);
    // Hover end; the message's result is 0.
    LRESULT OnMouseLeave();
    // Default processing, then hover end when the window is deactivated.
    void OnActivate(UINT nState);
    // Default processing; when disabled, the focus moves on and the hover ends.
    void OnEnable(BOOL bEnable);
    // The default code with the default-button code of this button's current role.
    UINT OnGetDlgCode();
    // Tracks the default-button role and passes the style on with the owner-drawn type kept.
    LRESULT OnSetStyle(WPARAM style, LPARAM redraw);

private:
    enum ColorSlot { BkActive, FgActive, BkFocus, BkIdle, FgIdle, ColorCount };

    void EndHover();
    void FreeBitmaps();
    void DrawImage(CDCHandle* pDC, const CMaskedBitmap& image, const CRect& item, bool noCaption,
                   CRect* caption) const;
    void DrawCaption(CDCHandle* pDC, const CString& text, CRect rc) const;

    BOOL m_bHover = FALSE;
    BOOL m_bIsDefault = FALSE;
    BOOL m_bIsPressed = FALSE;
    BOOL m_bIsFocused = FALSE;
    BOOL m_bIsDisabled = FALSE;
    COLORREF m_crColors[ColorCount];
    CMaskedBitmap m_main;
    CMaskedBitmap m_idle;
};
