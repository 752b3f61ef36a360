// A top-level dialog whose whole look is one image with per-pixel alpha, with translucent
// widgets drawn over it. It is a layered window fed with finished images through
// UpdateLayeredWindow, never painted. Since such a window shows no child controls, an
// ordinary companion dialog with a colour-keyed background (CStandardDialog) lies exactly
// over it and carries the real controls; the companion follows every move and resize.
#pragma once
#include <list>
#include <memory>
#include "framework/Dialog.h"
#include "translucent/CompositeSurface.h"
#include "imaging/GdiImage.h"
#include "translucent/StandardDialog.h"
#include "translucent/TranslucentWnd.h"
#include "translucent/TranslucentWndListener.h"

class CTranslucentDialog : public CDialog, public CTranslucentWndListener {
public:
    // The template's size is ignored: the image, loaded here (GDI+ must be running), decides
    // the window's size.
    CTranslucentDialog(UINT nIDTemplate, UINT nImageID, LPCWSTR lpszImageType,
                       CWnd* pParentWnd = nullptr);
    // Deletes the companion object (its window, if still there, goes with it), then the image.
    ~CTranslucentDialog() override;

    // Composes the image and the visible widgets and pushes the result to the screen.
    void UpdateView();
    // The composite alone: the image with the visible widgets over it, first to last, as the
    // premultiplied surface UpdateView would push. Null when there is nothing to push (an
    // image that failed to load). `reference` is the context to be compatible with.
    std::unique_ptr<CCompositeSurface> Composite(HDC reference = nullptr);

    // A widget's request: composes again unless updates are locked.
    void OnRenderRequest(CTranslucentWnd* pWnd) override;
    // Appends `pWnd` (not owned) to the widgets drawn over the image and becomes its listener.
    void RegisterTranslucentWnd(CTranslucentWnd* pWnd);
    // While locked, widget requests do not compose; call UpdateView after unlocking.
    void SetUpdateLocked(bool bLocked) { m_bUpdateLocked = bLocked; }

    CStandardDialog* GetStandardDialog() const { return m_pStandardDlg.get(); }
    CGdiImage* GetImage() const { return m_pImage.get(); }

    // The top-left that centres a window of outer size `outer` in `workArea`; each half
    // difference truncates toward zero, and a window larger than the area is not clamped.
    static CPoint CenteredPosition(const RECT& workArea, SIZE outer);

    // Base first, then the blend settings and the first push; TRUE.
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The companion, made with its own template, key colour and this dialog as parent; null
    // for none. Called once, while this window is being created.
    virtual std::unique_ptr<CStandardDialog> CreateStandardDialog() = 0;
    // Where a derived class sets up its widgets; it calls this from its own OnInitDialog,
    // after the base's, and then UpdateView.
    virtual void OnInitChildrenWnds() = 0;

    // WM_CREATE: centres, makes and shows the companion, drops the caption and takes the
    // image's size. Returns 0, or -1 when default processing failed the creation.
    LRESULT OnCreate();
    // WM_MOVE / WM_SIZE: default processing, then the companion follows. Return 0.
    LRESULT OnMove(int x, int y);
    LRESULT OnSize(int cx, int cy);
    // WM_WINDOWPOSCHANGED: default processing (WM_MOVE, WM_SIZE); when this window has just
    // been shown, the companion is put back above it where Wine needs it. Returns the default
    // result.
    LRESULT OnWindowPosChanged(const WINDOWPOS* pos);
    // WM_LBUTTONDOWN: drags the window with the mouse, then default processing.
    LRESULT OnLButtonDown();

    BLENDFUNCTION m_blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    CGdiImagePtr m_pImage;
    bool m_bUpdateLocked = false;
    std::unique_ptr<CStandardDialog> m_pStandardDlg;
    std::list<CTranslucentWnd*> m_translucentWnds; // not owned

private:
    void PushLayered(HDC windowDC, const CCompositeSurface& surface);

    // Wine's ways, each set right in one place and only where Wine shows it.
    // After a push: the companion takes a size the system gave this window without WM_SIZE.
    void FollowUnreportedResize();
    // When this window is shown: the companion is mapped again if this window's X window is
    // no longer the one the companion was mapped over.
    void RemapCompanionOverNewXWindow();
    // This window's X window under Wine; null elsewhere.
    HANDLE CurrentXWindow() const;

    HANDLE m_hCompanionMappedOver = nullptr;
};
