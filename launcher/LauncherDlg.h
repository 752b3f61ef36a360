// The launcher's main dialog, laid exactly over the skin window: the notice page, the five
// picture buttons (Start and four web pages), minimise and close, the About box from the
// system menu. It holds the update engine's fields and starts the update check when it opens;
// Start hands over to the game's patcher and closes the launcher.
#pragma once
#include "controls/HoverButton.h"
#include "controls/ImageButton.h"
#include "launcher/HtmlViewEx.h"
#include "translucent/StandardDialog.h"
#include "update/UpdateEngine.h"

class CLauncherDlg : public CStandardDialog {
public:
    // `pParent` is the skin window, which owns this object and is not owned by it.
    explicit CLauncherDlg(CWnd* pParent);
    ~CLauncherDlg() override;

    void DoDataExchange(CDataExchange* pDX) override;
    // Runs inside the dialog's creation: layout, system menu, icons, title, notice view,
    // button faces, the running-launcher event, the update fields, Start hidden, the check
    // started. TRUE.
    BOOL OnInitDialog() override;
    // Enter (IDOK) starts the game, also while Start is still hidden.
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The address of the version file the patcher is given for the current source.
    CString GetVersionFileUrl() const;
    int GetVersionSource() const { return m_nVersionSource; }

protected:
    // Starts the patcher with the chosen version file (a message box when it cannot be
    // started) and ends the launcher either way.
    void OnStart();
    // Opens the About box for system commands 16 to 31; everything else is the system's.
    void OnSysCommand(UINT nID, LPARAM lParam);
    // Draws the icon while minimised; otherwise the dialog's own painting.
    void OnPaint();
    // Default processing, then the skin window (once on screen) goes to the same place.
    // Returns 0.
    LRESULT OnMove(int x, int y);

    void OnHomePage();
    void OnAccountPage();
    void OnRegisterPage();
    void OnForumPage();
    void OnMinimizeButton();
    void OnCloseButton();

private:
    void LayOutForSkin();
    void AddAboutMenuItem();
    void CreateNoticeView();
    void LoadButtonFaces();

    CHtmlViewEx* m_pNoticeView;
    // Until the view has a window the object is this dialog's; afterwards it deletes itself.
    bool m_bNoticeViewOwnsItself = false;
    int m_nVersionSource = 1;
    CUpdateEngine m_update;
    HICON m_hIcon;
    CHoverButton m_btnStart;
    CHoverButton m_btnRegister;
    CHoverButton m_btnAccount;
    CHoverButton m_btnHome;
    CImageButton m_btnClose;
    CImageButton m_btnMinimize;
    CHoverButton m_btnForum;
    CWnd* m_pSkinWnd;
};
