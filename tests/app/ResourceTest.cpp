// The launcher executable's resources as compiled: dialog templates bit for bit, the string,
// the icon sizes, the version block and the manifest.
#include "base/Handle.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

namespace {

// The launcher of this build, loaded as data.
std::wstring LauncherPath() {
    return std::wstring(ZV_BIN_DIR) + L"/app/Zorvane.exe";
}

class LauncherModule {
public:
    LauncherModule()
        : m_module(::LoadLibraryExW(LauncherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    HMODULE Get() const { return m_module.Get(); }
    const BYTE* Find(LPCWSTR name, LPCWSTR type, DWORD* size = nullptr) const {
        HRSRC res = ::FindResourceW(Get(), name, type);
        if (!res)
            return nullptr;
        if (size)
            *size = ::SizeofResource(Get(), res);
        return static_cast<const BYTE*>(::LockResource(::LoadResource(Get(), res)));
    }

private:
    CModule m_module;
};

// Reads an extended dialog template the way the dialog manager does.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* p) : m_p(p) {}
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    // A string, or 0xFFFF and an ordinal (given back as "#n").
    std::wstring SzOrOrd() {
        if (Peek() == 0xFFFF) {
            Word();
            return L"#" + std::to_wstring(Word());
        }
        std::wstring s;
        while (WORD c = Word())
            s.push_back(static_cast<wchar_t>(c));
        return s;
    }
    void AlignDword() {
        const auto addr = reinterpret_cast<uintptr_t>(m_p);
        m_p += (4 - addr % 4) % 4;
    }

private:
    template <class T> T Take() {
        T v;
        std::memcpy(&v, m_p, sizeof v);
        m_p += sizeof v;
        return v;
    }
    WORD Peek() const {
        WORD v;
        std::memcpy(&v, m_p, sizeof v);
        return v;
    }
    const BYTE* m_p;
};

struct Item {
    DWORD id;
    std::wstring cls;
    short x, y, cx, cy;
    DWORD style;
    std::wstring text;
};

struct Dialog {
    DWORD style, exStyle;
    short cx, cy;
    std::wstring menu, cls, title, face;
    WORD points, weight;
    std::vector<Item> items;
};

Dialog ReadDialog(const BYTE* p) {
    TemplateReader r(p);
    Dialog d{};
    EXPECT_EQ(r.Word(), 1); // dlgVer: an extended template
    EXPECT_EQ(r.Word(), 0xFFFF);
    r.Dword(); // help id
    d.exStyle = r.Dword();
    d.style = r.Dword();
    const WORD count = r.Word();
    r.Short();
    r.Short();
    d.cx = r.Short();
    d.cy = r.Short();
    d.menu = r.SzOrOrd();
    d.cls = r.SzOrOrd();
    d.title = r.SzOrOrd();
    if (d.style & DS_SETFONT) {
        d.points = r.Word();
        d.weight = r.Word();
        r.Word(); // italic and charset bytes
        d.face = r.SzOrOrd();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Item item{};
        r.Dword(); // help id
        EXPECT_EQ(r.Dword(), 0u) << "control extended style";
        item.style = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = r.Dword();
        item.cls = r.SzOrOrd();
        item.text = r.SzOrOrd();
        const WORD extra = r.Word();
        EXPECT_EQ(extra, 0);
        d.items.push_back(item);
    }
    return d;
}

constexpr wchar_t kButton[] = L"BUTTON";
constexpr wchar_t kStatic[] = L"STATIC";

// The predefined classes may be stored by ordinal or by name; the dialog manager takes both.
std::wstring ClassName(std::wstring cls) {
    if (cls == L"#128")
        return kButton;
    if (cls == L"#130")
        return kStatic;
    for (auto& c : cls)
        c = static_cast<wchar_t>(::towupper(c));
    return cls;
}

struct DialogCase {
    UINT id;
    LANGID lang;
    DWORD style, exStyle;
    short cx, cy;
    WORD points, weight;
    const wchar_t* face;
    std::vector<Item> items;
};

TEST(ResourceTest, DialogTemplatesAreExactlyAsLaidOut) {
    LauncherModule module;
    ASSERT_NE(module.Get(), nullptr);
    const DialogCase cases[] = {
        {IDD_SKIN_DIALOG,
         MAKELANGID(LANG_VIETNAMESE, SUBLANG_DEFAULT),
         0x10080048,
         0x40000,
         556,
         388,
         8,
         0,
         L"MS Shell Dlg",
         {}},
        {IDD_LAUNCHER_DIALOG,
         MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
         0x90080240,
         0,
         533,
         344,
         8,
         700,
         L"Microsoft Sans Serif",
         {
             {1000, kButton, 385, 319, 80, 17, 0x50010080, L" "},
             {1006, kButton, 198, 318, 72, 19, 0x50010000, L" "},
             {1005, kButton, 271, 318, 79, 19, 0x50010000, L" "},
             {1010, kButton, 466, 60, 8, 8, 0x50010080, L"  "},
             {1011, kButton, 477, 60, 8, 8, 0x50010000, L" "},
             {1009, kButton, 134, 318, 62, 19, 0x50010000, L" "},
             {1012, kButton, 58, 318, 69, 19, 0x50010000, L""},
         }},
        {IDD_ABOUTBOX,
         MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
         0x80880040,
         0,
         256,
         104,
         8,
         400,
         L"Tahoma",
         {
             {1, kButton, 238, 4, 8, 8, 0x50038001, L" "},
             {1018, kStatic, 78, 43, 170, 17, 0x50020000, L"a"},
             {1019, kStatic, 84, 60, 24, 8, 0x50020000, L"b"},
             {1020, kStatic, 114, 60, 103, 13, 0x50020000, L"" ZV_SUPPORT_EMAIL},
             {1021, kStatic, 7, 75, 248, 20, 0x50020000, L"d"},
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        HRSRC res = ::FindResourceExW(module.Get(), RT_DIALOG, MAKEINTRESOURCEW(c.id), c.lang);
        ASSERT_NE(res, nullptr) << "missing in its language";
        const Dialog d =
            ReadDialog(static_cast<const BYTE*>(::LockResource(::LoadResource(module.Get(), res))));
        EXPECT_EQ(d.style, c.style);
        EXPECT_EQ(d.exStyle, c.exStyle);
        EXPECT_EQ(d.cx, c.cx);
        EXPECT_EQ(d.cy, c.cy);
        EXPECT_EQ(d.menu, L"");
        EXPECT_EQ(d.cls, L"");
        EXPECT_EQ(d.title, L"");
        EXPECT_EQ(d.points, c.points);
        EXPECT_EQ(d.weight, c.weight);
        EXPECT_EQ(d.face, c.face);
        ASSERT_EQ(d.items.size(), c.items.size());
        for (size_t i = 0; i < c.items.size(); ++i) {
            const Item& got = d.items[i];
            const Item& want = c.items[i];
            SCOPED_TRACE(want.id);
            EXPECT_EQ(got.id, want.id);
            EXPECT_EQ(ClassName(got.cls), want.cls);
            EXPECT_EQ(got.style, want.style);
            EXPECT_EQ((std::vector<short>{got.x, got.y, got.cx, got.cy}),
                      (std::vector<short>{want.x, want.y, want.cx, want.cy}));
            EXPECT_EQ(got.text, want.text);
        }
    }
}

TEST(ResourceTest, ImagesAreDeclaredWithTheirTypesAndLanguages) {
    LauncherModule module;
    ASSERT_NE(module.Get(), nullptr);
    const LANGID vietnamese = MAKELANGID(LANG_VIETNAMESE, SUBLANG_DEFAULT);
    for (UINT id = IDR_PNG_SKIN; id <= IDR_PNG_FORUM; ++id) {
        HRSRC res = ::FindResourceExW(module.Get(), L"PNG", MAKEINTRESOURCEW(id), vietnamese);
        ASSERT_NE(res, nullptr) << id;
        const auto* data =
            static_cast<const BYTE*>(::LockResource(::LoadResource(module.Get(), res)));
        EXPECT_EQ(std::memcmp(data, "\x89PNG", 4), 0) << id;
    }
    for (UINT id : {IDB_MINIMIZE, IDB_CLOSE, IDB_ABOUT_BACKGROUND})
        EXPECT_NE(module.Find(MAKEINTRESOURCEW(id), RT_BITMAP), nullptr) << id;

    // The group icon lists the three sizes.
    const BYTE* group = module.Find(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    WORD count;
    std::memcpy(&count, group + 4, 2);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i)
        sizes.push_back(group[6 + i * 14] ? group[6 + i * 14] : 256);
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
}

TEST(ResourceTest, AboutStringVersionAndManifest) {
    LauncherModule module;
    ASSERT_NE(module.Get(), nullptr);
    wchar_t text[64] = {};
    ASSERT_GT(::LoadStringW(module.Get(), IDS_ABOUTBOX, text, 64), 0);
    EXPECT_STREQ(text, L"&About Zorvane...");

    DWORD size = 0;
    const BYTE* version = module.Find(MAKEINTRESOURCEW(1), RT_VERSION, &size);
    ASSERT_NE(version, nullptr);
    std::vector<BYTE> block(version, version + size);
    UINT length = 0;
    DWORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(length, 4u) << "exactly one translation";
    EXPECT_EQ(LOWORD(*translation), 0x0409);
    EXPECT_EQ(HIWORD(*translation), 0x04E4);
    wchar_t* fileVersion = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\StringFileInfo\\040904E4\\FileVersion",
                                 reinterpret_cast<void**>(&fileVersion), &length));
    EXPECT_STREQ(fileVersion, L"3.0.0.4");
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(4, 0));

    const BYTE* manifest = module.Find(MAKEINTRESOURCEW(1), RT_MANIFEST, &size);
    ASSERT_NE(manifest, nullptr);
    const std::string xml(reinterpret_cast<const char*>(manifest), size);
    EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
}

// No DPI awareness, as the system reads the manifest: an activation context made from it
// knows neither setting.
TEST(ResourceTest, ManifestDeclaresNoDpiAwareness) {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    const std::wstring path = LauncherPath();
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = ::CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the manifest does not parse";
    struct Setting {
        const wchar_t* space;
        const wchar_t* name;
    };
    const Setting settings[] = {
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"},
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"},
    };
    for (const Setting& s : settings) {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        ::SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(::QueryActCtxSettingsW(0, context, s.space, s.name, value, 64, &written))
            << "declared: " << std::string(value, value + ::lstrlenW(value));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SXS_KEY_NOT_FOUND)) << s.name;
    }
    ::ReleaseActCtx(context);
}

} // namespace
