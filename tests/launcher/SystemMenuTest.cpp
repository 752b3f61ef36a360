// The launcher's windows made in this process, where their system menus can be read: only the
// dialog's offers the launcher's item.
#include <gtest/gtest.h>
#include <ole2.h>
#include <string>
#include "imaging/GdiplusSession.h"
#include "launcher/LauncherSkinDlg.h"
#include "res/resource.h"
#include "tests/support/Pump.h"

namespace {

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

TEST(SystemMenuTest, TheDialogOffersTheLauncherItemTheSkinDoesNot) {
    const CGdiplusSession gdiplus = StartGdiplus();
    ASSERT_TRUE(gdiplus);
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    {
        CLauncherSkinDlg skin(IDR_PNG_SKIN, L"PNG", nullptr);
        ASSERT_TRUE(skin.Create(IDD_SKIN_DIALOG));
        ASSERT_TRUE(skin.GetStandardDialog());
        HMENU dialogMenu = ::GetSystemMenu(skin.GetStandardDialog()->m_hWnd, FALSE);
        ASSERT_TRUE(dialogMenu);
        const int count = ::GetMenuItemCount(dialogMenu);
        ASSERT_GE(count, 2);
        EXPECT_EQ(::GetMenuItemID(dialogMenu, count - 1), 16u);
        EXPECT_EQ(ItemText(dialogMenu, count - 1), L"ZV Launcher");
        EXPECT_TRUE(::GetMenuState(dialogMenu, static_cast<UINT>(count - 2), MF_BYPOSITION) &
                    MF_SEPARATOR);

        HMENU skinMenu = ::GetSystemMenu(skin.m_hWnd, FALSE);
        ASSERT_TRUE(skinMenu);
        EXPECT_EQ(::GetMenuState(skinMenu, 16, MF_BYCOMMAND), static_cast<UINT>(-1));
        for (int i = 0; i < ::GetMenuItemCount(skinMenu); ++i)
            EXPECT_NE(ItemText(skinMenu, i), L"ZV Launcher");
        skin.DestroyWindow();
        Pump(200);
    }
    ::OleUninitialize();
}

} // namespace
