// The launcher's main window. For now a plain dialog on the skin's template that stands
// where the translucent skin window will be; it keeps that window's constructor.
#pragma once
#include "framework/Dialog.h"

class CLauncherSkinDlg : public CDialog {
public:
    CLauncherSkinDlg(UINT nImageID, LPCWSTR lpszImageType, CWnd* pParent);
    BOOL OnInitDialog() override;
};
