#include "launcher/WindowRegion.h"
#include <algorithm>
#include <cstring>
#include <vector>
#include "framework/Gdi.h"

namespace {

constexpr DWORD kGrowBy = 100;
constexpr DWORD kRectsPerRegion = 3000;
constexpr int kKeyTolerance = 17;

struct CChannelBounds {
    BYTE low[3]; // red, green, blue
    BYTE high[3];
};

CChannelBounds BoundsOf(COLORREF key) {
    CChannelBounds b{};
    const BYTE channel[3] = {GetRValue(key), GetGValue(key), GetBValue(key)};
    for (int i = 0; i < 3; ++i) {
        if (key == RGB(0, 0, 0)) {
            b.low[i] = 0;
            b.high[i] = 16;
        } else if (key == RGB(255, 255, 255)) {
            b.low[i] = 239;
            b.high[i] = 255;
        } else {
            b.low[i] = static_cast<BYTE>(std::max(0, channel[i] - kKeyTolerance));
            b.high[i] = static_cast<BYTE>(std::min(255, channel[i] + kKeyTolerance));
        }
    }
    return b;
}

// The rectangle list the system makes regions of, grown in steps and handed over in chunks.
class CRectList {
public:
    CRectList() { Reset(); }

    void Add(LONG x0, LONG y, LONG x1) {
        if (Count() == m_capacity) {
            m_capacity += kGrowBy;
            m_data.resize(sizeof(RGNDATAHEADER) + m_capacity * sizeof(RECT));
        }
        RECT* rects = Rects();
        rects[Count()] = RECT{x0, y, x1, y + 1};
        RGNDATAHEADER& h = Header();
        RECT& bound = h.rcBound;
        bound.left = std::min(bound.left, x0);
        bound.top = std::min(bound.top, y);
        bound.right = std::max(bound.right, x1);
        bound.bottom = std::max(bound.bottom, y + 1);
        ++h.nCount;
    }
    DWORD Count() { return Header().nCount; }

    // Unites what the list holds with `result` (taking it when there is none) and empties
    // the list. False when a region could not be made.
    bool Flush(HRGN* result) {
        HRGN chunk = ::ExtCreateRegion(
            nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + Count() * sizeof(RECT)),
            reinterpret_cast<const RGNDATA*>(m_data.data()));
        Reset();
        if (!chunk)
            return false;
        if (!*result) {
            *result = chunk;
            return true;
        }
        const int combined = ::CombineRgn(*result, *result, chunk, RGN_OR);
        ::DeleteObject(chunk);
        return combined != ERROR;
    }

private:
    RGNDATAHEADER& Header() { return *reinterpret_cast<RGNDATAHEADER*>(m_data.data()); }
    RECT* Rects() { return reinterpret_cast<RECT*>(m_data.data() + sizeof(RGNDATAHEADER)); }
    void Reset() {
        if (m_data.empty()) {
            m_capacity = kGrowBy;
            m_data.resize(sizeof(RGNDATAHEADER) + m_capacity * sizeof(RECT));
        }
        RGNDATAHEADER& h = Header();
        h.dwSize = sizeof(RGNDATAHEADER);
        h.iType = RDH_RECTANGLES;
        h.nCount = 0;
        h.nRgnSize = 0;
        ::SetRect(&h.rcBound, MAXLONG, MAXLONG, 0, 0);
    }

    std::vector<BYTE> m_data;
    DWORD m_capacity = 0;
};

} // namespace

HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key) {
    if (!bitmap)
        return nullptr;
    CDC work;
    if (!work.CreateCompatibleDC(static_cast<HDC>(nullptr)))
        return nullptr;
    BITMAP source{};
    if (::GetObjectW(bitmap, sizeof source, &source) != sizeof source)
        return nullptr;
    const int width = source.bmWidth;
    const int height = source.bmHeight;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height; // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    void* bits = nullptr;
    CBitmap copy;
    copy.Attach(::CreateDIBSection(work.GetSafeHdc(), reinterpret_cast<BITMAPINFO*>(&header),
                                   DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!copy.GetSafeHandle() || !bits)
        return nullptr;
    CSelectObject selectCopy(work.GetSafeHdc(), copy.GetSafeHandle());

    CDC from;
    if (!from.CreateCompatibleDC(&work))
        return nullptr;
    {
        CSelectObject selectSource(from.GetSafeHdc(), bitmap);
        ::BitBlt(work.GetSafeHdc(), 0, 0, width, height, from.GetSafeHdc(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();
    BITMAP dib{};
    ::GetObjectW(copy.GetSafeHandle(), sizeof dib, &dib);
    const LONG stride = (dib.bmWidthBytes + 3) & ~3;

    const CChannelBounds bounds = BoundsOf(key);
    const auto matches = [&bounds](const BYTE* pixel) {
        // Blue, green, red in memory.
        const BYTE rgb[3] = {pixel[2], pixel[1], pixel[0]};
        for (int i = 0; i < 3; ++i) {
            if (rgb[i] < bounds.low[i] || rgb[i] > bounds.high[i])
                return false;
        }
        return true;
    };

    CRectList list;
    HRGN result = nullptr;
    bool failed = false;
    // Rows are stored bottom-up, so the top row is the last one in memory.
    for (int y = 0; y < height && !failed; ++y) {
        const BYTE* row = static_cast<const BYTE*>(bits) + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const int x0 = x;
            while (x < width && !matches(row + x * 4))
                ++x;
            if (x > x0) {
                list.Add(x0, y, x);
                if (list.Count() == kRectsPerRegion && !list.Flush(&result)) {
                    failed = true;
                    break;
                }
            }
        }
    }
    if (!failed && !list.Flush(&result))
        failed = true;
    if (failed && result) {
        ::DeleteObject(result);
        result = nullptr;
    }
    return result;
}
