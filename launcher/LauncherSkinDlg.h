// The launcher's main window: the translucent skin (PNG 200) that carries the launcher
// dialog. It makes the dialog when its base asks for the companion, titles itself for the
// taskbar, is dragged by any pixel, and quits the launcher when the self-update asks it to.
#pragma once
#include "translucent/TranslucentButton.h"
#include "translucent/TranslucentDialog.h"
#include "update/UpdateWorker.h"

// The skin window's handle, set on the main thread before any other thread exists.
extern HWND g_hSkinWnd;

class CLauncherSkinDlg : public CTranslucentDialog {
public:
    CLauncherSkinDlg(UINT nImageID, LPCWSTR lpszImageType, CWnd* pParent);
    ~CLauncherSkinDlg() override = default;

    // The base's set-up, the title, then the skin composed and pushed again; TRUE.
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Records this window in g_hSkinWnd and makes the launcher dialog.
    std::unique_ptr<CStandardDialog> CreateStandardDialog() override;
    // The skin has no translucent widgets.
    void OnInitChildrenWnds() override {}
    // Destroys the window, which ends the modal run. Returns 0.
    LRESULT OnLauncherExit();

private:
    // Made and destroyed with the window, never attached or registered: it shows nothing.
    CTranslucentButton m_btnUnused;
};
