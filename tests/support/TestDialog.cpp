#include "tests/support/TestDialog.h"

#include "tests/support/Pump.h"

CTestDialog::CTestDialog(UINT nIDTemplate, std::vector<std::pair<int, CWnd*>> controls)
    : CDialog(nIDTemplate), m_controls(std::move(controls)) {}

CTestDialog::~CTestDialog() {
    DestroyWindow();
}

bool CTestDialog::Open(POINT pos, std::function<void(CTestDialog&)> onInit) {
    m_onInit = std::move(onInit);
    if (!Create(m_lpszTemplateName, nullptr))
        return false;
    ::SetWindowPos(m_hWnd, HWND_TOP, pos.x, pos.y, 0, 0, SWP_NOSIZE);
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    const bool active = PumpUntil([this] { return ::GetActiveWindow() == m_hWnd; }, 2000);
    Pump(100);
    return active;
}

void CTestDialog::SetBackground(COLORREF colour) {
    m_background.CreateSolidBrush(colour);
}

int CTestDialog::Clicks(int id) const {
    int n = 0;
    for (const auto& [from, code] : m_clicks)
        n += from == id && code == BN_CLICKED ? 1 : 0;
    return n;
}

void CTestDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    for (const auto& [id, control] : m_controls)
        DDX_Control(pDX, id, *control);
}

BOOL CTestDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_onInit)
        m_onInit(*this);
    return TRUE;
}

BOOL CTestDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam)
        m_clicks.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
}

HBRUSH CTestDialog::OnCtlColor(CDCHandle* pDC, CWndHandle wnd, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_DLG && m_background.GetSafeHandle())
        return m_background.Handle();
    return CDialog::OnCtlColor(pDC, wnd, nCtlColor);
}

void Place(HWND control, int x, int y, int cx, int cy) {
    ::SetWindowPos(control, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}
