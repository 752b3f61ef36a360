#include "launcher/AboutDlg.h"
#include <string>
#include "framework/WinApp.h"
#include "launcher/OpenUrl.h"
#include "launcher/WindowRegion.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kOutlineKey = RGB(0, 255, 0);
constexpr COLORREF kGlyphTransparent = RGB(255, 0, 255);
// The hollow the picture has behind the close glyph.
constexpr COLORREF kPictureBehindGlyph = RGB(8, 7, 12);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kTextHeight = 13;
constexpr int kHotlinesHeight = 12;
constexpr int kBold = 700;

constexpr wchar_t kSupportEmail[] = L"" ZV_SUPPORT_EMAIL;
// The first part and the blanks fill the label's first line; the rest, kept whole by no-break
// spaces, makes the second.
constexpr wchar_t kAddressFirst[] = L"Zorvane Online,";
constexpr wchar_t kAddressRest[] =
    L"27\u00A0Lantern\u00A0St.,\u00A0District\u00A01,\u00A0Ho\u00A0Chi\u00A0Minh\u00A0City";
constexpr wchar_t kHotlines[] = L"Customer care: (028) 3915 6147 - Game hotline: (028) 3915 6148";

// Three blanks, the first part, then 38 blanks that push the rest onto the second line.
std::wstring AddressLine() {
    return std::wstring(3, L' ') + kAddressFirst + std::wstring(38, L' ') + kAddressRest;
}

} // namespace

CAboutDlg::CAboutDlg() : CDraggableDialog(IDD_ABOUTBOX, nullptr) {
    m_hBackground.Attach(::LoadImageW(AfxGetResourceHandle(),
                                      MAKEINTRESOURCEW(IDB_ABOUT_BACKGROUND), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION));
    m_hWindowRgn.Attach(CreateRegionFromBitmap(m_hBackground.Handle(), kOutlineKey));
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDraggableDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDC_LBL_ADDRESS, m_lblAddress);
    DDX_Control(pDX, IDC_LBL_EMAIL_CAPTION, m_lblEmailCaption);
    DDX_Control(pDX, IDC_LBL_EMAIL, m_lblEmail);
    DDX_Control(pDX, IDC_LBL_HOTLINES, m_lblHotlines);
}

BOOL CAboutDlg::OnInitDialog() {
    CDraggableDialog::OnInitDialog();
    CentreOverOwner();
    if (m_hWindowRgn.GetSafeHandle()) {
        // The outline is the picture's, which lies at the client origin: inside the border the
        // template gives the window, not at its corner.
        CRect window;
        GetWindowRect(&window);
        POINT client{0, 0};
        ClientToScreen(&client);
        ::OffsetRgn(m_hWindowRgn.Handle(), client.x - window.left, client.y - window.top);
        // The window owns the region once it has it.
        if (::SetWindowRgn(m_hWnd, m_hWindowRgn.Handle(), TRUE))
            m_hWindowRgn.Detach();
    }

    m_btnOK.SetImageBitmaps(IDB_CLOSE, kGlyphTransparent, 0, 0);
    // The picture's colour around the glyph, not a grey square.
    m_btnOK.SetBackgroundColor(kPictureBehindGlyph);

    m_lblAddress.SetWindowText(AddressLine().c_str());
    m_lblAddress.SetLinkFont(kTextHeight, kBold, FALSE);
    m_lblAddress.SetLinkColours(kWhite, kWhite, kWhite);

    m_lblEmailCaption.SetWindowText(L"Email:");
    m_lblEmailCaption.SetLinkFont(kTextHeight, kBold, FALSE);
    m_lblEmailCaption.SetLinkColours(kWhite, kWhite, kWhite);

    m_lblEmail.m_bHandCursor = true;
    m_lblEmail.SetLinkFont(kTextHeight, kBold, FALSE);
    m_lblEmail.SetWindowText(kSupportEmail);
    m_lblEmail.SetLinkColours(kWhite, kWhite, kWhite);

    m_lblHotlines.SetLinkColours(kWhite, kWhite, kWhite);
    m_lblHotlines.SetLinkFont(kHotlinesHeight, kBold, FALSE);
    m_lblHotlines.SetWindowText(kHotlines);
    return TRUE;
}

void CAboutDlg::CentreOverOwner() {
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner)
        return;
    CRect over, own;
    ::GetWindowRect(owner, &over);
    GetWindowRect(&own);
    SetWindowPos(nullptr, over.left + (over.Width() - own.Width()) / 2,
                 over.top + (over.Height() - own.Height()) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CAboutDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTCAPTION; // dragged by any point of its own surface
    default:
        return CDraggableDialog::WindowProc(message, wParam, lParam);
    }
}

BOOL CAboutDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_LBL_EMAIL && HIWORD(wParam) == STN_CLICKED) {
        OnEmailLink();
        return TRUE;
    }
    return CDraggableDialog::OnCommand(wParam, lParam);
}

void CAboutDlg::OnEmailLink() {
    const std::wstring address = std::wstring(L"mailto:") + kSupportEmail;
    OpenUrl(address.c_str(), SW_SHOW);
}

BOOL CAboutDlg::OnEraseBkgnd(CDCHandle* pDC) {
    BITMAP bm{};
    CDC memory;
    if (!m_hBackground.GetBitmap(&bm) || !memory.CreateCompatibleDC(pDC))
        return CDraggableDialog::OnEraseBkgnd(pDC);
    CSelectObject select(memory.GetSafeHdc(), m_hBackground.GetSafeHandle());
    pDC->BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &memory, 0, 0, SRCCOPY);
    return TRUE;
}
