// An owner-drawn push button whose whole face is a PNG image laid over a copy of the parent's
// pixels behind it, so it blends into a skinned background. Three looks (normal, pressed:
// face shifted by one pixel, hover: face brightened) are composed once at the first paint;
// every later paint copies one of them.
#pragma once
#include <memory>
#include "controls/BitmapDC.h"
#include "framework/Controls.h"

class CResourceBitmap;

class CHoverButton : public CButton {
public:
    CHoverButton();
    ~CHoverButton() override;

    // Loads the face from the program's own resource `nID` of type `lpszType`; TRUE when a
    // face is held. Call once, after attaching and before the first paint.
    BOOL LoadFaceImage(UINT nID, LPCWSTR lpszType);

    // Makes the control owner-drawn.
    void PreSubclassWindow() override;
    // Turns a double click into a second press (so a second click); never consumes it.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Copies the look of the item state.
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Reflected colour request sent before each paint: composes the looks the first time;
    // always returns null (not handled), so the parent's own answer applies.
    HBRUSH CtlColor(CDCHandle* pDC, UINT nCtlColor) override;

protected:
    // Asks for hover and leave notifications; the caller then runs the default processing.
    void OnMouseMove();
    // Hover look on; the message's result is 0.
    LRESULT OnMouseHover();
    // Back to the normal look; the message's result is 0.
    LRESULT OnMouseLeave();

private:
    void ComposeLooks(CDCHandle* pDC);
    BOOL MakeLook(CBitmapDC& look, CDCHandle* source, int cx, int cy);

    std::unique_ptr<CResourceBitmap> m_pFace;
    BOOL m_bHover = FALSE;
    BOOL m_bTracking = FALSE;
    BOOL m_bReady = FALSE;
    CBitmapDC m_background;
    CBitmapDC m_normal;
    CBitmapDC m_pressed;
    CBitmapDC m_hover;
    CBitmapDC* m_pCurrent = nullptr;
};
