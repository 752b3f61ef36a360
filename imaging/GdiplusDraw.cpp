#include "imaging/GdiplusDraw.h"

using namespace Gdiplus::DllExports;

GpStatus WINGDIPAPI DeleteSolidFill(Gdiplus::GpSolidFill* brush) {
    return GdipDeleteBrush(brush);
}

namespace {

// Everything that draws an image refuses an image that has none.
Gdiplus::GpImage* NativeOf(CGdiImage* image) {
    return image ? image->GetNativeImage() : nullptr;
}

Gdiplus::GpFont* CreateFontOfFamily(Gdiplus::GpFontFamily* family, REAL size, INT style,
                                    Gdiplus::Unit unit) {
    Gdiplus::GpFont* font = nullptr;
    if (family && GdipCreateFont(family, size, style, unit, &font) != Gdiplus::Ok)
        font = nullptr;
    if (family)
        GdipDeleteFontFamily(family); // the font keeps what it needs
    return font;
}

} // namespace

CGdiImageAttributes::CGdiImageAttributes() {
    Gdiplus::GpImageAttributes* p = nullptr;
    if (GdipCreateImageAttributes(&p) == Gdiplus::Ok)
        m_p.Attach(p);
}

GpStatus CGdiImageAttributes::SetColorMatrix(const Gdiplus::ColorMatrix& matrix) {
    if (!m_p.IsValid())
        return Gdiplus::InvalidParameter;
    return GdipSetImageAttributesColorMatrix(m_p.Get(), Gdiplus::ColorAdjustTypeDefault, TRUE,
                                             &matrix, nullptr, Gdiplus::ColorMatrixFlagsDefault);
}

CGdiStringFormat::CGdiStringFormat() {
    Gdiplus::GpStringFormat* p = nullptr;
    if (GdipCreateStringFormat(0, LANG_NEUTRAL, &p) == Gdiplus::Ok)
        m_p.Attach(p);
}

GpStatus CGdiStringFormat::SetAlignment(Gdiplus::StringAlignment align) {
    return m_p.IsValid() ? GdipSetStringFormatAlign(m_p.Get(), align) : Gdiplus::InvalidParameter;
}

GpStatus CGdiStringFormat::SetLineAlignment(Gdiplus::StringAlignment align) {
    return m_p.IsValid() ? GdipSetStringFormatLineAlign(m_p.Get(), align)
                         : Gdiplus::InvalidParameter;
}

CGdiFont::CGdiFont(LPCWSTR familyName, REAL size, INT style, Gdiplus::Unit unit) {
    Gdiplus::GpFontFamily* family = nullptr;
    if (GdipCreateFontFamilyFromName(familyName, nullptr, &family) != Gdiplus::Ok)
        family = nullptr;
    Gdiplus::GpFont* font = CreateFontOfFamily(family, size, style, unit);
    if (!font) {
        Gdiplus::GpFontFamily* fallback = nullptr;
        if (GdipGetGenericFontFamilySansSerif(&fallback) != Gdiplus::Ok)
            fallback = nullptr;
        font = CreateFontOfFamily(fallback, size, style, unit);
    }
    m_p.Attach(font);
}

CGdiSolidBrush::CGdiSolidBrush(ARGB color) {
    Gdiplus::GpSolidFill* p = nullptr;
    if (GdipCreateSolidFill(color, &p) == Gdiplus::Ok)
        m_p.Attach(p);
}

CGdiGraphics::CGdiGraphics(HDC hdc) {
    Gdiplus::GpGraphics* p = nullptr;
    if (hdc && GdipCreateFromHDC(hdc, &p) == Gdiplus::Ok)
        m_p.Attach(p);
}

GpStatus CGdiGraphics::SetSmoothingMode(Gdiplus::SmoothingMode mode) {
    return m_p.IsValid() ? GdipSetSmoothingMode(m_p.Get(), mode) : Gdiplus::InvalidParameter;
}

GpStatus CGdiGraphics::DrawImage(CGdiImage* image, INT x, INT y) {
    Gdiplus::GpImage* native = NativeOf(image);
    if (!m_p.IsValid() || !native)
        return Gdiplus::InvalidParameter;
    return GdipDrawImageI(m_p.Get(), native, x, y);
}

GpStatus CGdiGraphics::DrawImage(CGdiImage* image, INT x, INT y, INT width, INT height) {
    Gdiplus::GpImage* native = NativeOf(image);
    if (!m_p.IsValid() || !native)
        return Gdiplus::InvalidParameter;
    return GdipDrawImageRectI(m_p.Get(), native, x, y, width, height);
}

GpStatus CGdiGraphics::DrawImage(CGdiImage* image, const Gdiplus::RectF& dest) {
    Gdiplus::GpImage* native = NativeOf(image);
    if (!m_p.IsValid() || !native)
        return Gdiplus::InvalidParameter;
    return GdipDrawImageRect(m_p.Get(), native, dest.X, dest.Y, dest.Width, dest.Height);
}

GpStatus CGdiGraphics::DrawImage(CGdiImage* image, const Gdiplus::RectF& dest,
                                 const Gdiplus::RectF& src, const CGdiImageAttributes* attributes) {
    Gdiplus::GpImage* native = NativeOf(image);
    if (!m_p.IsValid() || !native)
        return Gdiplus::InvalidParameter;
    return GdipDrawImageRectRect(m_p.Get(), native, dest.X, dest.Y, dest.Width, dest.Height, src.X,
                                 src.Y, src.Width, src.Height, Gdiplus::UnitPixel,
                                 attributes ? attributes->Native() : nullptr, nullptr, nullptr);
}

GpStatus CGdiGraphics::DrawString(LPCWSTR text, INT length, const CGdiFont& font,
                                  const Gdiplus::RectF& layout, const CGdiStringFormat& format,
                                  const CGdiSolidBrush& brush) {
    if (!m_p.IsValid() || !text || !font.IsValid() || !brush.IsValid())
        return Gdiplus::InvalidParameter;
    return GdipDrawString(m_p.Get(), text, length, font.Native(), &layout, format.Native(),
                          brush.Native());
}
