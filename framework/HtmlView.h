// A child window that shows web pages through the system's WebBrowser control, which it
// hosts itself (see HtmlSite.h). The object deletes itself once its window is gone, so
// whoever creates it with new never deletes it.
//
// The thread that creates and uses the view must have called OleInitialize (a
// single-threaded apartment) before Create, keep it until the view's window is destroyed,
// and dispatch its window messages: the control loads pages through them.
#pragma once
#include "base/ComPtr.h"
#include "framework/HtmlSite.h"
#include "framework/Wnd.h"
#include <exdisp.h>

// Document and view wiring of a creation; the view needs none and accepts only null.
struct CCreateContext;

class CHtmlView : public CWnd {
public:
    // Levels for Refresh2.
    enum { REFRESH_NORMAL = 0, REFRESH_IFEXPIRED = 1, REFRESH_COMPLETELY = 3 };

    CHtmlView() = default;
    // Deleted with its window still there (not the usual way), it closes the control first.
    ~CHtmlView() override;

    // Makes the window (of the view's own class when `className` is null) with exactly the
    // given style, then the browser control filling it. FALSE when the window could not be
    // made, or when the control could not: the window then stays, empty, and the calls
    // below do nothing.
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, CCreateContext* context = nullptr);

    // Starts loading `url`; `flags` are BrowserNavConstants (navNoReadFromCache...). Null
    // arguments are left out of the request. Does nothing without a control.
    void Navigate2(LPCWSTR url, DWORD flags = 0, LPCWSTR targetFrame = nullptr,
                   LPCWSTR headers = nullptr, LPVOID postData = nullptr, DWORD postDataLen = 0);
    // Reloads the current page; `level` is a RefreshConstants value.
    void Refresh2(int level);

    // The hosted control, borrowed; null without one.
    IWebBrowser2* GetBrowser() const { return m_browser.Get(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Deletes the object: the view lives exactly as long as its window.
    void PostNcDestroy() override;

private:
    bool CreateControl();
    // Deactivates, closes and lets go of the control and the site; needs the window still.
    void DestroyControl();

    CComPtr<CHtmlSite> m_site;
    CComPtr<IOleObject> m_object;
    CComPtr<IOleInPlaceObject> m_inPlace;
    CComPtr<IWebBrowser2> m_browser;
};
