// A control inside a translucent dialog whose look is drawn into the dialog's composite,
// never by the system. It is attached to a control of the dialog's template, whose
// visibility and enabled state at that moment it takes over.
#pragma once
#include <cstddef>
#include <vector>
#include "framework/Wnd.h"
#include "imaging/GdiImage.h"
#include "imaging/GdiplusDraw.h"
#include "translucent/TranslucentWndListener.h"

class CTranslucentWnd : public CWnd {
public:
    CTranslucentWnd() = default;
    // The images in the slots go with the widget.
    ~CTranslucentWnd() override = default;

    // Draws the widget in the parent dialog's client coordinates.
    virtual void Render(CGdiGraphics* pGraphics) = 0;
    // Something that may change the look has changed. This base asks the listener for a
    // composite; derived classes work out their look first and ask only when it changed.
    virtual void UpdateState();

    // Reads WS_VISIBLE and WS_DISABLED from the control; nothing updates them later except
    // enabling and disabling.
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Puts `image` (owned from now on) into `slot`, growing the slots as needed; whatever
    // was there before is destroyed.
    void SetImage(std::size_t slot, CGdiImagePtr image);
    // The image in `slot`, or null for an empty or missing slot.
    CGdiImage* GetImage(std::size_t slot) const;
    std::size_t GetImageCount() const { return m_images.size(); }

    void SetListener(CTranslucentWndListener* pListener) { m_pListener = pListener; }
    CTranslucentWndListener* GetListener() const { return m_pListener; }
    // The composite draws the widget only while this is set.
    bool IsVisible() const { return m_bVisible; }
    bool IsDisabled() const { return m_bDisabled; }

protected:
    // WM_ENABLE: default processing, then the disabled flag follows; returns 0.
    LRESULT OnEnable(BOOL bEnable);

    std::vector<CGdiImagePtr> m_images;
    CTranslucentWndListener* m_pListener = nullptr;
    bool m_bDisabled = false;
    bool m_bVisible = true;
};
