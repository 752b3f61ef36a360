// The ordinary dialog laid over a translucent dialog. Its own background is painted in a key
// colour that a layered-window colour key makes invisible and click-through, so only its
// controls show over the image below. Closing it closes the dialog under it first.
#pragma once
#include "framework/Dialog.h"

class CStandardDialog : public CDialog {
public:
    // `nIDTemplate` must be a pop-up (WS_POPUP) template: the overlay is an owned top-level
    // window of `pParentWnd`.
    CStandardDialog(UINT nIDTemplate, COLORREF crKey, CWnd* pParentWnd);

    // Creates the window modelessly from the own template with the own parent, then shows
    // it. TRUE when the window exists.
    BOOL CreateAndShow();
    // Closes the parent, then ends like CDialog::EndDialog.
    void EndDialog(int nResult);

    // Base first, then the key brush and the colour key; always TRUE.
    BOOL OnInitDialog() override;
    // Close the parent, then as CDialog.
    void OnOK() override;
    void OnCancel() override;
    // The key brush for the dialog's own background (CTLCOLOR_DLG); everything else gets
    // the framework's answer (reflected to the control, else default processing).
    HBRUSH OnCtlColor(CDCHandle* pDC, CWndHandle wnd, UINT nCtlColor) override;

    COLORREF GetKeyColor() const { return m_crKey; }
    HBRUSH GetKeyBrush() const { return m_brKey.Handle(); }

protected:
    COLORREF m_crKey;
    CBrush m_brKey;

private:
    // Sends WM_CLOSE to the parent (owner) window, if there is one, and waits for it.
    void CloseParent();
};
