// A modeless dialog from a test template that attaches the given control objects in its data
// exchange, runs `onInit` at the end of OnInitDialog (where the launcher's dialogs set up
// their controls), can paint its background in one colour, and counts BN_CLICKED and
// STN_CLICKED per control id.
#pragma once
#include <functional>
#include <utility>
#include <vector>

#include "framework/Dialog.h"

class CTestDialog : public CDialog {
public:
    CTestDialog(UINT nIDTemplate, std::vector<std::pair<int, CWnd*>> controls);
    ~CTestDialog() override;

    // Creates the window at `pos` (screen), shows and activates it, waits until it has painted.
    bool Open(POINT pos, std::function<void(CTestDialog&)> onInit = {});
    void SetBackground(COLORREF colour);
    int Clicks(int id) const;
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColor(CDCHandle* pDC, CWndHandle wnd, UINT nCtlColor) override;

private:
    std::vector<std::pair<int, CWnd*>> m_controls;
    std::function<void(CTestDialog&)> m_onInit;
    std::vector<std::pair<int, int>> m_clicks;
    CBrush m_background;
};

// Places a child control at client pixels (x, y) with size cx by cy.
void Place(HWND control, int x, int y, int cx, int cy);
