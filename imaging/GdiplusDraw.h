// The GDI+ drawing objects the toolkit and the skinned controls draw with, as owners over
// the flat API. Every call answers the GDI+ status; callers may ignore it (drawing failures
// are not reported). An object whose creation failed is empty and its calls fail harmlessly.
#pragma once
#include "base/Handle.h"
#include "imaging/GdiImage.h"
#include "imaging/Gdiplus.h"

// The owner of one kind of GDI+ object, deleted with `Delete`.
template <class T, GpStatus(WINGDIPAPI* Delete)(T*)> struct CGdipTraits {
    using Type = T*;
    static constexpr Type Invalid() { return nullptr; }
    static bool IsValid(Type p) { return p != nullptr; }
    static bool Close(Type p) { return Delete(p) == Gdiplus::Ok; }
};
template <class T, GpStatus(WINGDIPAPI* Delete)(T*)>
using CGdipObject = CHandle<CGdipTraits<T, Delete>>;
// A solid fill is deleted as the brush it is.
GpStatus WINGDIPAPI DeleteSolidFill(Gdiplus::GpSolidFill* brush);

// Flips a colour matrix per draw (the hover button's faces).
class CGdiImageAttributes {
public:
    CGdiImageAttributes();
    bool IsValid() const { return m_p.IsValid(); }
    Gdiplus::GpImageAttributes* Native() const { return m_p.Get(); }
    // Default adjust type, enabled, no grey matrix, default flags.
    GpStatus SetColorMatrix(const Gdiplus::ColorMatrix& matrix);

private:
    CGdipObject<Gdiplus::GpImageAttributes, Gdiplus::DllExports::GdipDisposeImageAttributes> m_p;
};

class CGdiStringFormat {
public:
    // No format flags, neutral language.
    CGdiStringFormat();
    bool IsValid() const { return m_p.IsValid(); }
    Gdiplus::GpStringFormat* Native() const { return m_p.Get(); }
    GpStatus SetAlignment(Gdiplus::StringAlignment align);
    GpStatus SetLineAlignment(Gdiplus::StringAlignment align);

private:
    CGdipObject<Gdiplus::GpStringFormat, Gdiplus::DllExports::GdipDeleteStringFormat> m_p;
};

class CGdiFont {
public:
    // A font of family `familyName`; when that family or the font cannot be made, the
    // generic sans-serif family stands in.
    CGdiFont(LPCWSTR familyName, REAL size, INT style, Gdiplus::Unit unit);
    bool IsValid() const { return m_p.IsValid(); }
    Gdiplus::GpFont* Native() const { return m_p.Get(); }

private:
    CGdipObject<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont> m_p;
};

class CGdiSolidBrush {
public:
    explicit CGdiSolidBrush(ARGB color);
    bool IsValid() const { return m_p.IsValid(); }
    Gdiplus::GpSolidFill* Native() const { return m_p.Get(); }

private:
    CGdipObject<Gdiplus::GpSolidFill, DeleteSolidFill> m_p;
};

// Drawing on a device context (in the toolkit always a memory context).
class CGdiGraphics {
public:
    explicit CGdiGraphics(HDC hdc);
    bool IsValid() const { return m_p.IsValid(); }
    Gdiplus::GpGraphics* Native() const { return m_p.Get(); }

    GpStatus SetSmoothingMode(Gdiplus::SmoothingMode mode);
    // `image` at its own size with its top-left at (x, y).
    GpStatus DrawImage(CGdiImage* image, INT x, INT y);
    // `image` stretched into an integer rectangle.
    GpStatus DrawImage(CGdiImage* image, INT x, INT y, INT width, INT height);
    // `image` stretched into a float rectangle.
    GpStatus DrawImage(CGdiImage* image, const Gdiplus::RectF& dest);
    // The part `src` of `image` (pixels) into `dest`, through `attributes` (may be null).
    GpStatus DrawImage(CGdiImage* image, const Gdiplus::RectF& dest, const Gdiplus::RectF& src,
                       const CGdiImageAttributes* attributes);
    // `length` characters of `text` (-1: up to the terminator) laid out in `layout`.
    GpStatus DrawString(LPCWSTR text, INT length, const CGdiFont& font,
                        const Gdiplus::RectF& layout, const CGdiStringFormat& format,
                        const CGdiSolidBrush& brush);

private:
    CGdipObject<Gdiplus::GpGraphics, Gdiplus::DllExports::GdipDeleteGraphics> m_p;
};
