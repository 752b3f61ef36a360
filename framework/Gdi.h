// GDI wrappers. Owning objects are move-only and release in their destructors; they
// never turn into raw handles by themselves: ask for the handle with GetSafeHandle().
#pragma once
#include <windows.h>
#include <utility>
#include "framework/Types.h"

class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(HGDIOBJ owned) : m_hObject(owned) {}
    CGdiObject(CGdiObject&& o) noexcept : m_hObject(std::exchange(o.m_hObject, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& o) noexcept {
        if (this != &o)
            Attach(o.Detach());
        return *this;
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership; whatever was held before is deleted.
    void Attach(HGDIOBJ h) {
        DeleteObject();
        m_hObject = h;
    }
    HGDIOBJ Detach() { return std::exchange(m_hObject, nullptr); }
    BOOL DeleteObject() {
        if (!m_hObject)
            return FALSE;
        return ::DeleteObject(std::exchange(m_hObject, nullptr));
    }

protected:
    HGDIOBJ m_hObject = nullptr;
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF cr) {
        Attach(::CreateSolidBrush(cr));
        return m_hObject != nullptr;
    }
    HBRUSH Handle() const { return static_cast<HBRUSH>(m_hObject); }
};

class CPen : public CGdiObject {
public:
    BOOL CreatePen(int style, int width, COLORREF cr) {
        Attach(::CreatePen(style, width, cr));
        return m_hObject != nullptr;
    }
    HPEN Handle() const { return static_cast<HPEN>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTW* lf) {
        Attach(::CreateFontIndirectW(lf));
        return m_hObject != nullptr;
    }
    HFONT Handle() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id);
    BOOL CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
        Attach(::CreateCompatibleBitmap(hdc, cx, cy));
        return m_hObject != nullptr;
    }
    HBITMAP Handle() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL GetBitmap(BITMAP* bm) const {
        return m_hObject && ::GetObjectW(m_hObject, sizeof(BITMAP), bm) == sizeof(BITMAP);
    }
};

class CRgn : public CGdiObject {
public:
    HRGN Handle() const { return static_cast<HRGN>(m_hObject); }
};

// Selects an object into a context for one scope and puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC hdc, HGDIOBJ obj)
        : m_hdc(hdc), m_old(obj ? ::SelectObject(hdc, obj) : nullptr) {}
    ~CSelectObject() {
        if (m_old)
            ::SelectObject(m_hdc, m_old);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// A device context. Made by CreateCompatibleDC it owns its handle and deletes it;
// attached to a handle someone else made (a draw request's context) it only borrows it.
// The paint, client and window contexts below release theirs the way they were obtained.
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC borrowed) : m_hDC(borrowed) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() {
        if (m_bOwned && m_hDC)
            ::DeleteDC(m_hDC);
    }

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL CreateCompatibleDC(CDC* pDC) { return CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr); }
    BOOL CreateCompatibleDC(HDC hdc);
    BOOL DeleteDC();
    void Attach(HDC borrowed) {
        DeleteDC();
        m_hDC = borrowed;
    }
    HDC Detach() {
        m_bOwned = false;
        return std::exchange(m_hDC, nullptr);
    }

    HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
    HGDIOBJ SelectObject(const CGdiObject& obj) {
        return ::SelectObject(m_hDC, obj.GetSafeHandle());
    }
    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs,
                    DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, ws, hs, rop);
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
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    CPoint SetWindowOrg(int x, int y) {
        POINT old{};
        ::SetWindowOrgEx(m_hDC, x, y, &old);
        return CPoint(old.x, old.y);
    }
    CPoint GetWindowOrg() const {
        POINT p{};
        ::GetWindowOrgEx(m_hDC, &p);
        return CPoint(p.x, p.y);
    }

protected:
    HDC m_hDC = nullptr;
    bool m_bOwned = false;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = ::BeginPaint(hwnd, &m_ps); }
    ~CPaintDC() override {
        ::EndPaint(m_hWnd, &m_ps);
        m_hDC = nullptr;
    }
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// A context borrowed from a window (its client area or the whole window) and given back to it.
template <HDC(WINAPI* Get)(HWND)> class CWindowContextDC : public CDC {
public:
    explicit CWindowContextDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = Get(hwnd); }
    ~CWindowContextDC() override {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
    }

private:
    HWND m_hWnd;
};

using CClientDC = CWindowContextDC<::GetDC>;
using CWindowDC = CWindowContextDC<::GetWindowDC>;
