#include "translucent/TranslucentDialog.h"
#include "imaging/GdiplusDraw.h"
#include "imaging/ResourceImage.h"
#include "translucent/User32Function.h"

CTranslucentDialog::CTranslucentDialog(UINT nIDTemplate, UINT nImageID, LPCWSTR lpszImageType,
                                       CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd),
      m_pImage(LoadImageFromResource(nImageID, lpszImageType, nullptr)) {}

CTranslucentDialog::~CTranslucentDialog() {
    m_pStandardDlg.reset();
    m_pImage.reset();
    m_translucentWnds.clear();
}

CPoint CTranslucentDialog::CenteredPosition(const RECT& workArea, SIZE outer) {
    return CPoint(workArea.left + (workArea.right - workArea.left - outer.cx) / 2,
                  workArea.top + (workArea.bottom - workArea.top - outer.cy) / 2);
}

LRESULT CTranslucentDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_MOVE:
        return OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    case WM_SIZE:
        return OnSize(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    case WM_LBUTTONDOWN:
        return OnLButtonDown();
    case WM_WINDOWPOSCHANGED:
        return OnWindowPosChanged(reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_ERASEBKGND:
        return TRUE; // the layered image is the whole look; there is nothing to erase
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}

LRESULT CTranslucentDialog::OnCreate() {
    const int width = m_pImage ? static_cast<int>(m_pImage->GetWidth()) : 0;
    const int height = m_pImage ? static_cast<int>(m_pImage->GetHeight()) : 0;
    // Centred as the window is styled now, with its frame; the frame goes below.
    CRect outer(0, 0, width, height);
    ::AdjustWindowRect(&outer, GetStyle(), FALSE);
    CRect work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const CPoint pos = CenteredPosition(work, outer.Size());

    if (Default() == -1)
        return -1;

    m_pStandardDlg = CreateStandardDialog();
    if (m_pStandardDlg && m_pStandardDlg->CreateAndShow())
        m_hCompanionMappedOver = CurrentXWindow();

    ModifyStyle(WS_CAPTION, WS_POPUP, 0);
    // The move and the resize put the companion over this window.
    MoveWindow(pos.x, pos.y, width, height, TRUE);
    return 0;
}

BOOL CTranslucentDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateView();
    return TRUE;
}

void CTranslucentDialog::RegisterTranslucentWnd(CTranslucentWnd* pWnd) {
    if (!pWnd)
        return;
    m_translucentWnds.push_back(pWnd);
    pWnd->SetListener(this);
}

void CTranslucentDialog::OnRenderRequest(CTranslucentWnd*) {
    if (!m_bUpdateLocked)
        UpdateView();
}

std::unique_ptr<CCompositeSurface> CTranslucentDialog::Composite(HDC reference) {
    const int width = m_pImage ? static_cast<int>(m_pImage->GetWidth()) : 0;
    const int height = m_pImage ? static_cast<int>(m_pImage->GetHeight()) : 0;
    auto surface = std::make_unique<CCompositeSurface>(reference, width, height);
    if (!surface->IsValid())
        return nullptr;
    {
        CGdiGraphics graphics(surface->GetSafeHdc());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
        graphics.DrawImage(m_pImage.get(), 0, 0, width, height);
        // Client coordinates are the image's pixels; later widgets cover earlier ones.
        for (CTranslucentWnd* wnd : m_translucentWnds) {
            if (wnd->IsVisible())
                wnd->Render(&graphics);
        }
    } // the graphics goes first so that everything drawn has reached the pixels
    return surface;
}

void CTranslucentDialog::UpdateView() {
    if (!m_hWnd)
        return;
    if (!(GetExStyle() & WS_EX_LAYERED))
        ModifyStyleEx(0, WS_EX_LAYERED);
    CClientDC windowDC(m_hWnd);
    auto surface = Composite(windowDC.GetSafeHdc());
    if (!surface)
        return;
    PushLayered(windowDC.GetSafeHdc(), *surface);
    FollowUnreportedResize();
}

void CTranslucentDialog::FollowUnreportedResize() {
    // Wine's UpdateLayeredWindow gives the window the image's size without sending WM_SIZE
    // (Windows sends it), so the companion, which follows WM_SIZE, would keep the old size.
    if (!m_pStandardDlg || !m_pStandardDlg->m_hWnd)
        return;
    CRect mine, companion;
    GetWindowRect(&mine);
    m_pStandardDlg->GetWindowRect(&companion);
    if (mine.Width() != companion.Width() || mine.Height() != companion.Height())
        m_pStandardDlg->SetWindowPos(nullptr, 0, 0, mine.Width(), mine.Height(),
                                     SWP_NOMOVE | SWP_NOZORDER);
}

HANDLE CTranslucentDialog::CurrentXWindow() const {
    return ::GetPropW(m_hWnd, L"__wine_x11_whole_window");
}

void CTranslucentDialog::RemapCompanionOverNewXWindow() {
    // Wine's X11 driver keeps an owned window above its owner through a hint, written when
    // the owned window is mapped, that names the owner's X window of that moment. This
    // window's first per-pixel-alpha push gives it a new X window after the companion was
    // mapped: the hint then names a window that is gone, and this window, mapped later,
    // covers the companion. Mapping the companion again writes the hint anew. Wine keeps a
    // top-level window's X window in the property read by CurrentXWindow; without it (on
    // Windows) there is nothing to do.
    if (!m_pStandardDlg || !m_pStandardDlg->m_hWnd || !m_pStandardDlg->IsWindowVisible())
        return;
    HANDLE current = CurrentXWindow();
    if (!current || current == m_hCompanionMappedOver)
        return;
    m_hCompanionMappedOver = current;
    HWND companion = m_pStandardDlg->m_hWnd;
    const bool wasActive = ::GetActiveWindow() == companion;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(companion, nullptr, 0, 0, 0, 0, flags | SWP_HIDEWINDOW);
    ::SetWindowPos(companion, nullptr, 0, 0, 0, 0, flags | SWP_SHOWWINDOW);
    if (wasActive)
        ::SetActiveWindow(companion);
}

void CTranslucentDialog::PushLayered(HDC windowDC, const CCompositeSurface& surface) {
    CUser32Function<decltype(&::UpdateLayeredWindow)> updateLayered("UpdateLayeredWindow");
    auto fn = updateLayered.Get();
    if (!fn)
        return;
    CRect rc;
    GetWindowRect(&rc);
    POINT dest = rc.TopLeft();
    SIZE size{surface.Width(), surface.Height()};
    POINT src{0, 0};
    // A failed push leaves the last image on screen; there is nothing better to do.
    fn(m_hWnd, windowDC, &dest, &size, surface.GetSafeHdc(), &src, 0, &m_blend, ULW_ALPHA);
}

LRESULT CTranslucentDialog::OnWindowPosChanged(const WINDOWPOS* pos) {
    const LRESULT result = Default(); // sends WM_MOVE and WM_SIZE
    if (pos && (pos->flags & SWP_SHOWWINDOW))
        RemapCompanionOverNewXWindow();
    return result;
}

LRESULT CTranslucentDialog::OnMove(int x, int y) {
    Default();
    if (m_pStandardDlg && m_pStandardDlg->m_hWnd)
        m_pStandardDlg->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return 0;
}

LRESULT CTranslucentDialog::OnSize(int cx, int cy) {
    Default();
    if (m_pStandardDlg && m_pStandardDlg->m_hWnd)
        m_pStandardDlg->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    return 0;
}

LRESULT CTranslucentDialog::OnLButtonDown() {
    // SC_MOVE with HTCAPTION: the system moves the window with the mouse until release.
    SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return Default();
}
