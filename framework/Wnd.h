// The window class of the framework. A CWnd is attached to its window through the
// common-controls subclassing chain; one map from handles to objects serves lookups.
// Each derived class overrides WindowProc, handles its messages in a switch that calls
// On... members, and hands everything else to its base class; Default() runs the
// window's own processing for the message being handled.
#pragma once
#include <windows.h>
#include "framework/Gdi.h"
#include "framework/String.h"
#include "framework/Types.h"

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Destroys a window that is still attached (after detaching from it first, so the
    // messages of the destruction never reach a half-destroyed object).
    virtual ~CWnd();

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to a window, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // The attached object, or else a borrowed wrapper kept for the thread (never subclassed).
    static CWnd* FromHandle(HWND hwnd);

    // Attaches and routes the window's messages to this object. PreSubclassWindow runs
    // after the handle is known and before the first routed message.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    // Message plumbing.
    // Returns the message's result; unhandled messages go to the base class and end in Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's own processing (the subclassed procedure) for the given message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc for the message being handled now.
    LRESULT Default();
    // Called for every message of the thread's loops before it is dispatched, from the
    // window it is addressed to up through its parents; TRUE means consumed.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Called once the handle is attached and before any message is routed to this object.
    virtual void PreSubclassWindow() {}
    // Called after the last message (WM_NCDESTROY), once the object is detached; it may delete
    // this.
    virtual void PostNcDestroy() {}

    // Parent side of commands and notifications: TRUE when handled (then nothing else runs).
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Colour requests; the default reflects the request to the control, then runs Default().
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    // Control side: a notification or request the parent got about this control.
    // TRUE means this control answered it with *result and the parent does nothing more.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Reflected colour request: a brush answers it, null leaves it to the parent.
    virtual HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    // Reflected command notification code (BN_CLICKED, STN_CLICKED...): TRUE eats it.
    virtual BOOL OnReflectedCommand(UINT code, LRESULT* result);

    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

    // Thin forwards to the system.
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const {
        return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    }
    // With flags other than 0 the frame is refreshed through SetWindowPos with those flags.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    void GetWindowRect(LPRECT rc) const { ::GetWindowRect(m_hWnd, rc); }
    void GetClientRect(LPRECT rc) const { ::GetClientRect(m_hWnd, rc); }
    void ScreenToClient(LPRECT rc) const {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rc), 2);
    }
    void ScreenToClient(LPPOINT pt) const { ::ScreenToClient(m_hWnd, pt); }
    void ClientToScreen(LPRECT rc) const {
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rc), 2);
    }
    void ClientToScreen(LPPOINT pt) const { ::ClientToScreen(m_hWnd, pt); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rc, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rc, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    CString GetWindowText() const;
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    // The parent (or, for a pop-up, the owner), as an object; null when there is none.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
        return ::SendMessageW(m_hWnd, msg, wp, lp);
    }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
        return ::PostMessageW(m_hWnd, msg, wp, lp);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    HICON SetIcon(HICON icon, BOOL big) {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    HFONT GetFont() const {
        return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    }
    void SetFont(HFONT font, BOOL redraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }

    // Internal: attach a window that is being created (used by the creation hook).
    void AttachCreated(HWND hwnd);

protected:
    // The message being handled, for Default().
    MSG m_curMsg{};

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void Hook(HWND hwnd);
    void Unhook();
    void FinishDestroy();

    bool m_bHooked = false;
    int m_nDepth = 0;
    bool m_bPostNcDestroyDue = false;
};

// Attaches `wnd` to the first window of `className` that the calling thread creates while
// the scope lives, before that window gets WM_NCCREATE.
class CCreateHook {
public:
    CCreateHook(CWnd* wnd, LPCWSTR className);
    ~CCreateHook();
    CCreateHook(const CCreateHook&) = delete;
    CCreateHook& operator=(const CCreateHook&) = delete;

private:
    CWnd* m_prevWnd;
    LPCWSTR m_prevClass;
};
