// The window object of the framework. A CWnd is attached to its window through the
// common-controls subclassing chain; one map from handles to objects serves lookups.
// Each derived class overrides WindowProc, handles its messages in a switch that calls
// On... members, and hands everything else to its base class; Default() runs the
// window's own processing for the message being handled.
//
// Windows without an object of their own are reached through CWndHandle values (GetDlgItem,
// GetParent), never through objects the framework would have to keep alive.
#pragma once
#include <windows.h>
#include "framework/Gdi.h"
#include "framework/String.h"
#include "framework/Types.h"
#include "framework/WndHandle.h"

class CWnd : public CWndHandle {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Destroys a window that is still attached (after detaching from it first, so the
    // messages of the destruction never reach a half-destroyed object).
    virtual ~CWnd();

    // The object attached to a window, or null. Valid while that window exists.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Attaches and routes the window's messages to this object. PreSubclassWindow runs
    // after the handle is known and before the first routed message.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Makes the window and attaches this object to it before its first message. FALSE when
    // no window came of it; an object that deletes itself in PostNcDestroy may then be gone.
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
    // Called after the last message (WM_NCDESTROY), once the object is detached and no handler
    // of it is running; it may delete this.
    virtual void PostNcDestroy() {}

    // Parent side of commands and notifications: TRUE when handled (then nothing else runs).
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Colour request about `wnd` (a control, or this window itself): a brush answers it. The
    // default reflects the request to the control's object, then runs Default().
    virtual HBRUSH OnCtlColor(CDCHandle* pDC, CWndHandle wnd, UINT nCtlColor);

    // Control side: a notification or request the parent got about this control.
    // TRUE means this control answered it with *result and the parent does nothing more.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The one reflection: colour requests to CtlColor, draw requests to DrawItem, command
    // notifications to OnReflectedCommand.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Reflected colour request: a brush answers it, null leaves it to the parent.
    virtual HBRUSH CtlColor(CDCHandle* pDC, UINT nCtlColor);
    // Reflected draw request of an owner-drawn control, which draws itself here; the
    // request counts as answered (the default draws nothing).
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    // Reflected command notification code (BN_CLICKED, STN_CLICKED...): TRUE eats it.
    virtual BOOL OnReflectedCommand(UINT code, LRESULT* result);

    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

protected:
    // Makes this object's window with `create` while the creation hook is armed for
    // `className` (see CCreateHook). Returns the window, or null when none came of it; once
    // PostNcDestroy has run during the attempt, which may have deleted the object, nothing of
    // it is touched any more and the result is null.
    template <class Create> HWND CreateAttached(LPCWSTR className, Create create);

    // The message being handled, for Default().
    MSG m_curMsg{};

private:
    friend class CCreateHook;
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void AttachCreated(HWND hwnd);
    void Hook(HWND hwnd);
    void Unhook();
    void FinishDestroy();

    bool m_bHooked = false;
    int m_nDepth = 0;
    bool m_bPostNcDestroyDue = false;
    // Set by a creation in progress; told when PostNcDestroy is about to run.
    bool* m_pDestroyedDuringCreate = nullptr;
};

// Attaches `wnd` to the first window of `className` that the calling thread creates while
// the scope lives, before that window gets any message.
//
// Why a hook and not the WM_NCCREATE parameter: the windows the framework makes are not all
// of its own classes. Dialogs come from templates through the system's dialog class, whose
// procedure is not ours and whose creation parameter belongs to WM_INITDIALOG; a view may be
// of any class the caller names. A thread-local CBT hook sees every window of the thread at
// HCBT_CREATEWND, before WM_GETMINMAXINFO and WM_NCCREATE, whatever its class, and leaves
// lpCreateParams to the caller. It matches on the class name (an atom as "#nnnnn"), because
// the system may make other windows first on the same thread, such as input-method windows.
class CCreateHook {
public:
    CCreateHook(CWnd* wnd, LPCWSTR className);
    ~CCreateHook();
    CCreateHook(const CCreateHook&) = delete;
    CCreateHook& operator=(const CCreateHook&) = delete;

    // The hook's target for a window being created now (called from the hook procedure).
    static void Attach(CWnd* wnd, HWND hwnd) { wnd->AttachCreated(hwnd); }

private:
    CWnd* m_prevWnd;
    LPCWSTR m_prevClass;
};

template <class Create> HWND CWnd::CreateAttached(LPCWSTR className, Create create) {
    bool destroyed = false;
    m_pDestroyedDuringCreate = &destroyed;
    HWND hwnd = nullptr;
    {
        CCreateHook hook(this, className);
        hwnd = create();
    }
    if (destroyed)
        return nullptr;
    m_pDestroyedDuringCreate = nullptr;
    // Attached, but the window went without its last message reaching us: let go of it.
    if (!hwnd && m_hWnd && !::IsWindow(m_hWnd))
        Unhook();
    return hwnd;
}
