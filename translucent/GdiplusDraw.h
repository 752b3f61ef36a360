// The GDI+ drawing objects the toolkit and the skinned controls draw with, as owners over
// the flat API. Every call answers the GDI+ status; callers may ignore it (drawing failures
// are not reported). An object whose creation failed is empty and its calls fail harmlessly.
#pragma once
#include <memory>
#include "translucent/GdiImage.h"
#include "translucent/Gdiplus.h"

namespace gdiplus_detail {
struct GraphicsDeleter {
    void operator()(Gdiplus::GpGraphics* p) const;
};
struct ImageAttributesDeleter {
    void operator()(Gdiplus::GpImageAttributes* p) const;
};
struct StringFormatDeleter {
    void operator()(Gdiplus::GpStringFormat* p) const;
};
struct FontDeleter {
    void operator()(Gdiplus::GpFont* p) const;
};
struct BrushDeleter {
    void operator()(Gdiplus::GpSolidFill* p) const;
};
} // namespace gdiplus_detail

// Flips a colour matrix per draw (the hover button's faces).
class CGdiImageAttributes {
public:
    CGdiImageAttributes();
    bool IsValid() const { return m_p != nullptr; }
    Gdiplus::GpImageAttributes* Native() const { return m_p.get(); }
    // Default adjust type, enabled, no grey matrix, default flags.
    GpStatus SetColorMatrix(const Gdiplus::ColorMatrix& matrix);

private:
    std::unique_ptr<Gdiplus::GpImageAttributes, gdiplus_detail::ImageAttributesDeleter> m_p;
};

class CGdiStringFormat {
public:
    // No format flags, neutral language.
    CGdiStringFormat();
    bool IsValid() const { return m_p != nullptr; }
    Gdiplus::GpStringFormat* Native() const { return m_p.get(); }
    GpStatus SetAlignment(Gdiplus::StringAlignment align);
    GpStatus SetLineAlignment(Gdiplus::StringAlignment align);

private:
    std::unique_ptr<Gdiplus::GpStringFormat, gdiplus_detail::StringFormatDeleter> m_p;
};

class CGdiFont {
public:
    // A font of family `familyName`; when that family or the font cannot be made, the
    // generic sans-serif family stands in.
    CGdiFont(LPCWSTR familyName, REAL size, INT style, Gdiplus::Unit unit);
    bool IsValid() const { return m_p != nullptr; }
    Gdiplus::GpFont* Native() const { return m_p.get(); }

private:
    std::unique_ptr<Gdiplus::GpFont, gdiplus_detail::FontDeleter> m_p;
};

class CGdiSolidBrush {
public:
    explicit CGdiSolidBrush(ARGB color);
    bool IsValid() const { return m_p != nullptr; }
    Gdiplus::GpSolidFill* Native() const { return m_p.get(); }

private:
    std::unique_ptr<Gdiplus::GpSolidFill, gdiplus_detail::BrushDeleter> m_p;
};

// Drawing on a device context (in the toolkit always a memory context).
class CGdiGraphics {
public:
    explicit CGdiGraphics(HDC hdc);
    bool IsValid() const { return m_p != nullptr; }
    Gdiplus::GpGraphics* Native() const { return m_p.get(); }

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
    std::unique_ptr<Gdiplus::GpGraphics, gdiplus_detail::GraphicsDeleter> m_p;
};
