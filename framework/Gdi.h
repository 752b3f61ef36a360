// GDI wrappers. Owning objects are move-only and release in their destructors; they never
// turn into raw handles by themselves: ask for the handle with GetSafeHandle() or
// GetSafeHdc(). Whether a device context is owned is a fact of its type: CDCHandle borrows
// one, CDC owns one it made, and the paint and client contexts give theirs back the
// way they were obtained.
#pragma once
#include <windows.h>
#include <utility>
#include "base/Handle.h"
#include "framework/Types.h"

using CGdiObjectHandle = CHandle<CNullHandleTraits<HGDIOBJ, ::DeleteObject>>;

class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(HGDIOBJ owned) : m_object(owned) {}
    CGdiObject(CGdiObject&&) noexcept = default;
    CGdiObject& operator=(CGdiObject&&) noexcept = default;
    virtual ~CGdiObject() = default;

    HGDIOBJ GetSafeHandle() const { return m_object.Get(); }
    // Takes ownership; whatever was held before is deleted.
    void Attach(HGDIOBJ h) { m_object.Attach(h); }
    HGDIOBJ Detach() { return m_object.Detach(); }
    BOOL DeleteObject() { return m_object.IsValid() && m_object.Close(); }

private:
    CGdiObjectHandle m_object;
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF cr) {
        Attach(::CreateSolidBrush(cr));
        return GetSafeHandle() != nullptr;
    }
    HBRUSH Handle() const { return static_cast<HBRUSH>(GetSafeHandle()); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTW* lf) {
        Attach(::CreateFontIndirectW(lf));
        return GetSafeHandle() != nullptr;
    }
    HFONT Handle() const { return static_cast<HFONT>(GetSafeHandle()); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id);
    BOOL CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
        Attach(::CreateCompatibleBitmap(hdc, cx, cy));
        return GetSafeHandle() != nullptr;
    }
    HBITMAP Handle() const { return static_cast<HBITMAP>(GetSafeHandle()); }
    BOOL GetBitmap(BITMAP* bm) const {
        return GetSafeHandle() &&
               ::GetObjectW(GetSafeHandle(), sizeof(BITMAP), bm) == sizeof(BITMAP);
    }
};

class CRgn : public CGdiObject {
public:
    HRGN Handle() const { return static_cast<HRGN>(GetSafeHandle()); }
};

// Keeps an object selected into a context and puts back the one it displaced when it goes,
// which must happen before either the object or the context is deleted (declare it after
// both). Empty when nothing was selected.
struct CSelectionTraits {
    struct Type {
        HDC dc;
        HGDIOBJ displaced;
    };
    static constexpr Type Invalid() { return {nullptr, nullptr}; }
    static bool IsValid(const Type& s) { return s.displaced != nullptr; }
    static bool Close(const Type& s) { return ::SelectObject(s.dc, s.displaced) != nullptr; }
};

class CSelectObject : public CHandle<CSelectionTraits> {
public:
    CSelectObject() = default;
    CSelectObject(HDC hdc, HGDIOBJ obj)
        : CHandle(Type{hdc, hdc && obj ? ::SelectObject(hdc, obj) : nullptr}) {}

    // True when the selection took place (and will be undone).
    bool IsSelected() const { return IsValid(); }
    void Restore() { Close(); }
};

// A device context someone else made and releases (a draw request's, a paint's): a plain
// value with the drawing calls. Every context type below is one, so a CDCHandle* parameter
// takes them all.
class CDCHandle {
public:
    CDCHandle() = default;
    explicit CDCHandle(HDC hdc) : m_hDC(hdc) {}

    HDC GetSafeHdc() const { return m_hDC; }
    HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
    HGDIOBJ SelectObject(const CGdiObject& obj) {
        return ::SelectObject(m_hDC, obj.GetSafeHandle());
    }
    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    BOOL BitBlt(int x, int y, int w, int h, const CDCHandle* src, int xs, int ys, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, rop);
    }
    void FillSolidRect(LPCRECT rc, COLORREF cr);
    void FillRect(LPCRECT rc, HBRUSH br) { ::FillRect(m_hDC, rc, br); }
    void Draw3dRect(LPCRECT rc, COLORREF topLeft, COLORREF bottomRight);
    int DrawText(LPCWSTR text, int n, LPRECT rc, UINT format) {
        return ::DrawTextW(m_hDC, text, n, rc, format);
    }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    int GetClipBox(LPRECT rc) const { return ::GetClipBox(m_hDC, rc); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    CPoint SetWindowOrg(int x, int y) {
        POINT old{};
        ::SetWindowOrgEx(m_hDC, x, y, &old);
        return CPoint(old.x, old.y);
    }

protected:
    HDC m_hDC = nullptr;
};

// A memory context this program made, deleted when the owner goes.
class CDC : public CDCHandle {
public:
    CDC() = default;
    CDC(CDC&& o) noexcept : CDCHandle(o.Detach()) {}
    CDC& operator=(CDC&& o) noexcept {
        if (this != &o) {
            DeleteDC();
            m_hDC = o.Detach();
        }
        return *this;
    }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() { DeleteDC(); }

    // Deletes what is held, then makes a memory context compatible with `dc` (null: the
    // screen); FALSE when none could be made.
    BOOL CreateCompatibleDC(const CDCHandle* dc) {
        return CreateCompatibleDC(dc ? dc->GetSafeHdc() : nullptr);
    }
    BOOL CreateCompatibleDC(HDC hdc);
    BOOL DeleteDC();
    // Gives up ownership; the caller deletes the context.
    HDC Detach() { return std::exchange(m_hDC, nullptr); }
};

// The context of one WM_PAINT, between BeginPaint and EndPaint.
class CPaintDC : public CDCHandle {
public:
    explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = ::BeginPaint(hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// A window's client-area context, borrowed with GetDC and given back with ReleaseDC.
class CClientDC : public CDCHandle {
public:
    explicit CClientDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = ::GetDC(hwnd); }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    ~CClientDC() {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }

private:
    HWND m_hWnd;
};
