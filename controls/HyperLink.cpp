#include "controls/HyperLink.h"
#include <iterator>

namespace {

constexpr UINT kHandCursorId = 106;
constexpr wchar_t kHelpProgram[] = L"\\winhlp32.exe";
constexpr int kKeepItalic = -1;
// The label's own font until SetLinkFont gives another.
constexpr int kDefaultHeight = 16;
constexpr int kDefaultWeight = 500;
// How far below the text block the underline may reach.
constexpr int kUnderlineReach = 10;

} // namespace

void CHyperLink::SetLinkColours(COLORREF crLink, COLORREF crVisited, COLORREF crHover) {
    m_crLink = crLink;
    m_crVisited = crVisited;
    m_crHover = crHover == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHT) : crHover;
    if (m_hWnd && ::IsWindow(m_hWnd))
        Invalidate();
}

void CHyperLink::SetLinkFont(int nHeight, int nWeight, BOOL bItalic) {
    BuildFonts(nHeight, nWeight, bItalic ? 1 : 0);
    LoadHandCursor();
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        SetFont(m_fontNormal.Handle(), TRUE);
        Invalidate();
    }
    m_bUnderlineOnHover = FALSE;
}

void CHyperLink::BuildFonts(int nHeight, int nWeight, int italic) {
    HGDIOBJ base = m_hWnd ? GetFont() : nullptr;
    if (!base)
        base = ::GetStockObject(DEFAULT_GUI_FONT);
    if (!base)
        base = ::GetStockObject(ANSI_VAR_FONT);
    LOGFONTW lf{};
    ::GetObjectW(base, sizeof(lf), &lf);
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    if (italic >= 0)
        lf.lfItalic = static_cast<BYTE>(italic);
    m_fontNormal.CreateFontIndirect(&lf);
    lf.lfUnderline = 1;
    m_fontUnderline.CreateFontIndirect(&lf);
}

void CHyperLink::LoadHandCursor() {
    if (!m_bHandCursor || m_linkCursor)
        return;
    wchar_t path[MAX_PATH + std::size(kHelpProgram)] = {};
    const UINT n = ::GetWindowsDirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    ::lstrcatW(path, kHelpProgram);
    CModule module(::LoadLibraryW(path));
    // The cursor belongs to the module; keep a copy that outlives it.
    if (HCURSOR cursor =
            module ? ::LoadCursorW(module.Get(), MAKEINTRESOURCEW(kHandCursorId)) : nullptr)
        m_linkCursor.Attach(static_cast<HCURSOR>(::CopyIcon(cursor)));
}

void CHyperLink::PreSubclassWindow() {
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() | SS_NOTIFY));
    BuildFonts(kDefaultHeight, kDefaultWeight, kKeepItalic);
    LoadHandCursor();
    if (!m_bUnderlineOnHover) {
        SetFont(m_fontNormal.Handle(), TRUE);
        Invalidate();
    }
    CStatic::PreSubclassWindow();
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_MOUSEMOVE:
        OnMouseMove();
        return Default();
    case WM_TIMER:
        OnTimer();
        return Default();
    case WM_ERASEBKGND:
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return Default();
    default:
        return CStatic::WindowProc(message, wParam, lParam);
    }
}

HBRUSH CHyperLink::CtlColor(CDCHandle* pDC, UINT) {
    pDC->SetTextColor(m_bOverControl ? m_crHover : m_crLink);
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnSetCursor() {
    if (!m_linkCursor)
        return FALSE;
    ::SetCursor(m_linkCursor.Get());
    return TRUE;
}

void CHyperLink::OnMouseMove() {
    if (m_bOverControl)
        return;
    m_bOverControl = TRUE;
    if (m_bUnderlineOnHover)
        SetFont(m_fontUnderline.Handle(), TRUE);
    Invalidate();
    // Static controls get no leave notification of their own; a timer watches for the exit.
    SetTimer(kHoverTimerId, kHoverTimerMs);
}

void CHyperLink::OnTimer() {
    const DWORD pos = ::GetMessagePos();
    CPoint pt(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
    ScreenToClient(&pt);
    CRect rc;
    GetClientRect(rc);
    if (rc.PtInRect(pt))
        return;
    m_bOverControl = FALSE;
    KillTimer(kHoverTimerId);
    SetFont(m_fontNormal.Handle(), TRUE);
    // The underline sits below the text block; take a little more to be sure it goes.
    rc.bottom += kUnderlineReach;
    InvalidateRect(rc, TRUE);
}

void CHyperLink::OnDestroy() {
    KillTimer(kHoverTimerId);
    m_bOverControl = FALSE;
}
