// A static text that looks and reacts like a link: coloured text over whatever lies behind
// it, another colour while the pointer is over it, optionally the hand cursor. Clicks reach
// the parent as STN_CLICKED; the parent decides what a click does.
#pragma once
#include "base/Handle.h"
#include "framework/Controls.h"

class CHyperLink : public CStatic {
public:
    // How often the label looks whether the pointer has left it, while it is over it.
    static constexpr UINT_PTR kHoverTimerId = 100;
    static constexpr UINT kHoverTimerMs = 100;

    // Set before SetLinkFont (or before attaching) for the hand cursor; later has no effect.
    bool m_bHandCursor = false;

    // Normal, visited and hover text colours; a hover colour of -1 (all bits set) means the
    // system highlight colour.
    void SetLinkColours(COLORREF crLink, COLORREF crVisited, COLORREF crHover);
    // Gives the label a font of this height, weight and slant (and an underlined twin), and
    // ends the underlining on hover.
    void SetLinkFont(int nHeight, int nWeight, BOOL bItalic);

    // Adds SS_NOTIFY so clicks are reported, builds the default fonts, loads the hand cursor.
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Reflected colour request: sets the text colour of the current state and a transparent
    // background; returns the hollow stock brush (handled), so only the text is painted.
    HBRUSH CtlColor(CDCHandle* pDC, UINT nCtlColor) override;

protected:
    // TRUE with the hand cursor set; FALSE (and no default processing) without one.
    BOOL OnSetCursor();
    // Hover start; the caller then runs the default processing.
    void OnMouseMove();
    // Hover end once the pointer is outside; the caller then runs the default processing.
    void OnTimer();
    // Stops the timer and forgets the hover while the handle is still valid.
    void OnDestroy();

private:
    // A negative `italic` keeps the base font's slant.
    void BuildFonts(int nHeight, int nWeight, int italic);
    void LoadHandCursor();

    COLORREF m_crLink = RGB(0, 0, 238);
    COLORREF m_crVisited = RGB(85, 26, 139);
    COLORREF m_crHover = RGB(255, 0, 0);
    BOOL m_bOverControl = FALSE;
    BOOL m_bUnderlineOnHover = TRUE;
    CFont m_fontNormal;
    CFont m_fontUnderline;
    CCursor m_linkCursor; // a copy, destroyed with the label
};
