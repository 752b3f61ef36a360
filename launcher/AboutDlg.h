// The About box: a captionless window shaped like its picture (the picture without its pure
// green parts), showing the game's support contacts in white, with a close button and a
// clickable support mail address. It is dragged by any point of its surface.
#pragma once
#include "controls/DraggableDialog.h"
#include "controls/HyperLink.h"
#include "controls/ImageButton.h"

class CAboutDlg : public CDraggableDialog {
public:
    // Loads the picture and computes the outline from it; the window comes with DoModal.
    CAboutDlg();
    ~CAboutDlg() override = default;

    void DoDataExchange(CDataExchange* pDX) override;
    // Outline, close glyph and the four labels; TRUE.
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Draws the picture at the client origin; TRUE. Without a picture (or a context to draw
    // it with) the base's erasing runs instead.
    BOOL OnEraseBkgnd(CDCHandle* pDC) override;
    // Opens the mail program on the support address; the result is not looked at.
    void OnEmailLink();
    // The template would put the box on the launcher's corner, over its title.
    void CentreOverOwner();

    CBitmap m_hBackground;
    // Held until the window takes it over; the window then deletes it.
    CRgn m_hWindowRgn;
    CImageButton m_btnOK;
    CHyperLink m_lblAddress;
    CHyperLink m_lblEmailCaption;
    CHyperLink m_lblEmail;
    CHyperLink m_lblHotlines;
};
