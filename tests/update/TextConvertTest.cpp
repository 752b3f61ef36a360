// Wide and ANSI text through the system code page.
#include <cstring>
#include <cwchar>

#include <gtest/gtest.h>

#include <windows.h>

#include "update/TextConvert.h"

namespace {

TEST(TextConvertTest, NullStaysNull) {
    EXPECT_EQ(WideToAnsi(nullptr), nullptr);
    EXPECT_EQ(AnsiToWide(nullptr), nullptr);
}

TEST(TextConvertTest, TextsSurviveTheRoundTrip) {
    for (const wchar_t* text : {L"", L"C:\\Games\\Zorvane\\Launcher Updater", L"3.0.0.4"}) {
        HeapText<char> narrow = ToAnsi(text);
        ASSERT_NE(narrow, nullptr);
        EXPECT_EQ(std::strlen(narrow.get()), std::wcslen(text));
        HeapText<wchar_t> wide = ToWide(narrow.get());
        ASSERT_NE(wide, nullptr);
        EXPECT_STREQ(wide.get(), text);
    }
}

// A character of the Western code page takes one byte there, so a path with it keeps its
// length in the fixed narrow buffers.
TEST(TextConvertTest, UsesTheAnsiCodePage) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "code page " << GetACP();
    HeapText<char> narrow = ToAnsi(L"Caf\u00e9");
    EXPECT_STREQ(narrow.get(), "Caf\xe9");
    HeapText<wchar_t> wide = ToWide("\xe9t\xe9");
    EXPECT_STREQ(wide.get(), L"\u00e9t\u00e9");
}

} // namespace
