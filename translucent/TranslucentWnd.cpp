#include "translucent/TranslucentWnd.h"

void CTranslucentWnd::UpdateState() {
    if (m_pListener)
        m_pListener->OnRenderRequest(this);
}

void CTranslucentWnd::PreSubclassWindow() {
    const DWORD style = GetStyle();
    m_bVisible = (style & WS_VISIBLE) != 0;
    m_bDisabled = (style & WS_DISABLED) != 0;
}

LRESULT CTranslucentWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ENABLE:
        return OnEnable(static_cast<BOOL>(wParam));
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

LRESULT CTranslucentWnd::OnEnable(BOOL bEnable) {
    Default();
    const bool disabled = bEnable != TRUE;
    if (disabled != m_bDisabled) {
        m_bDisabled = disabled;
        UpdateState();
    }
    return 0;
}

void CTranslucentWnd::SetImage(std::size_t slot, CGdiImagePtr image) {
    if (slot >= m_images.size())
        m_images.resize(slot + 1);
    m_images[slot] = std::move(image);
}

CGdiImage* CTranslucentWnd::GetImage(std::size_t slot) const {
    return slot < m_images.size() ? m_images[slot].get() : nullptr;
}
