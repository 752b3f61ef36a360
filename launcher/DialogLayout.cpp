#include "launcher/DialogLayout.h"
#include <cstring>

namespace {

// A bounds-checked reader over the bytes of a template.
class CTemplateReader {
public:
    CTemplateReader(const BYTE* data, DWORD size) : m_data(data), m_size(size) {}

    bool Ok() const { return m_ok; }
    template <class T> T Read() {
        T value{};
        if (m_ok && m_at + sizeof(T) <= m_size)
            std::memcpy(&value, m_data + m_at, sizeof(T));
        else
            m_ok = false;
        m_at += sizeof(T);
        return value;
    }
    // A name or ordinal field: 0 (none), 0xFFFF and a number, or a terminated string.
    void SkipNameOrOrdinal() {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF)
            Read<WORD>();
        else if (first != 0)
            SkipString();
    }
    void SkipString() {
        while (m_ok && Read<WORD>() != 0) {
        }
    }
    void Skip(DWORD bytes) { m_at += bytes; }
    void AlignToDword() { m_at = (m_at + 3) & ~static_cast<DWORD>(3); }

private:
    const BYTE* m_data;
    DWORD m_size;
    DWORD m_at = 0;
    bool m_ok = true;
};

} // namespace

bool ReadDialogTemplateLayout(HMODULE module, LPCWSTR name, CDialogTemplateLayout* layout) {
    HRSRC found = ::FindResourceW(module, name, RT_DIALOG);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    CTemplateReader in(data, ::SizeofResource(module, found));

    const WORD version = in.Read<WORD>();
    const WORD signature = in.Read<WORD>();
    if (!in.Ok() || version != 1 || signature != 0xFFFF)
        return false;
    in.Read<DWORD>(); // help id
    in.Read<DWORD>(); // extended style
    const DWORD style = in.Read<DWORD>();
    const WORD count = in.Read<WORD>();
    in.Read<short>();
    in.Read<short>();
    CDialogTemplateLayout result;
    result.cx = in.Read<short>();
    result.cy = in.Read<short>();
    in.SkipNameOrOrdinal(); // menu
    in.SkipNameOrOrdinal(); // class
    in.SkipString();        // title
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        in.Read<WORD>(); // point size
        in.Read<WORD>(); // weight
        in.Read<BYTE>(); // italic
        in.Read<BYTE>(); // character set
        in.SkipString(); // face
    }
    for (WORD i = 0; i < count && in.Ok(); ++i) {
        in.AlignToDword();
        in.Read<DWORD>(); // help id
        in.Read<DWORD>(); // extended style
        in.Read<DWORD>(); // style
        CDialogTemplateLayout::Item item{};
        item.x = in.Read<short>();
        item.y = in.Read<short>();
        item.cx = in.Read<short>();
        item.cy = in.Read<short>();
        item.id = static_cast<int>(in.Read<DWORD>());
        in.SkipNameOrOrdinal(); // class
        in.SkipNameOrOrdinal(); // text
        in.Skip(in.Read<WORD>());
        result.items.push_back(item);
    }
    if (!in.Ok())
        return false;
    *layout = std::move(result);
    return true;
}

RECT DialogUnitsToPixels(short x, short y, short cx, short cy, SIZE units) {
    const int left = ::MulDiv(x, units.cx, 4);
    const int top = ::MulDiv(y, units.cy, 8);
    return RECT{left, top, left + ::MulDiv(cx, units.cx, 4), top + ::MulDiv(cy, units.cy, 8)};
}

void ApplyDialogTemplateLayout(HWND dialog, const CDialogTemplateLayout& layout, SIZE units) {
    for (const auto& item : layout.items) {
        HWND control = ::GetDlgItem(dialog, item.id);
        if (!control)
            continue;
        const RECT rc = DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, units);
        ::SetWindowPos(control, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const RECT client = DialogUnitsToPixels(0, 0, layout.cx, layout.cy, units);
    RECT outer = client;
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    ::SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
