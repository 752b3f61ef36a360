// Dialogs from resource templates, modal and modeless, with data exchange.
#pragma once
#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dlg, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Attaches `control` to the dialog's control `id` (once); the control's PreSubclassWindow runs.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // Runs the dialog in a loop of its own until EndDialog or the window's end.
    // Returns EndDialog's result, or -1 when the window could not be made or ended otherwise.
    virtual INT_PTR DoModal();
    // Creates the dialog modelessly; TRUE when the window exists.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // Runs inside the window's creation; TRUE lets the system focus the first control.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Ends a modal run with `result`; a modeless dialog is hidden.
    void EndDialog(int nResult);
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Keyboard and mouse input for this dialog goes through IsDialogMessage.
    BOOL PreTranslateMessage(MSG* msg) override;

    LPCWSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    HWND CreateFromTemplate(HWND owner);
    BOOL m_bContinueModal = FALSE;
    INT_PTR m_nModalResult = -1;

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
};
