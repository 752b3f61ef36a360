// The start-up decision of the single-instance guard and what a second copy hands over.
#include "app/WinAppEx.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct DecisionCase {
    bool handle;
    DWORD error;
    bool anotherRuns;
};

TEST(GuardDecisionTest, MutexOutcomeDecidesFirstOrSecondCopy) {
    const DecisionCase cases[] = {
        {true, ERROR_SUCCESS, false},
        {true, ERROR_ALREADY_EXISTS, true},
        // Made by another user or a higher integrity level: it exists, so another copy runs.
        {false, ERROR_ACCESS_DENIED, true},
        // Any other failure to make the mutex leaves this process as the first copy.
        {false, ERROR_INVALID_HANDLE, false},
        {false, ERROR_ALREADY_EXISTS, false},
        {false, ERROR_SUCCESS, false},
        {true, ERROR_ACCESS_DENIED, false},
    };
    HANDLE someHandle = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x44));
    for (const auto& c : cases) {
        EXPECT_EQ(IsAnotherInstanceRunning(c.handle ? someHandle : nullptr, c.error), c.anotherRuns)
            << "handle " << c.handle << " error " << c.error;
    }
}

std::wstring AtomName(ATOM atom) {
    wchar_t name[256] = {};
    const UINT n = ::GlobalGetAtomNameW(atom, name, 256);
    return std::wstring(name, n);
}

TEST(GuardDecisionTest, FileNewHandsOverWithoutAtom) {
    CCommandLineInfo info;
    WPARAM wParam = 123;
    EXPECT_TRUE(PrepareHandOver(info, &wParam));
    EXPECT_EQ(wParam, 0u);
}

TEST(GuardDecisionTest, FileOpenHandsOverTheNameInAGlobalAtom) {
    CCommandLineInfo info;
    info.m_nShellCommand = CCommandLineInfo::FileOpen;
    info.m_strFileName = L"C:\\Games\\handover-file-name.txt";
    WPARAM wParam = 0;
    ASSERT_TRUE(PrepareHandOver(info, &wParam));
    ASSERT_NE(wParam, 0u);
    EXPECT_GE(wParam, 0xC000u) << "string atoms are numbered from 0xC000";
    EXPECT_EQ(AtomName(static_cast<ATOM>(wParam)), info.m_strFileName);
    ::GlobalDeleteAtom(static_cast<ATOM>(wParam));
}

TEST(GuardDecisionTest, NameOfMoreThan255CharactersGoesOutAsZero) {
    CCommandLineInfo info;
    info.m_nShellCommand = CCommandLineInfo::FileOpen;
    for (size_t length : {255u, 256u, 400u}) {
        info.m_strFileName = std::wstring(length, L'n');
        WPARAM wParam = 99;
        ASSERT_TRUE(PrepareHandOver(info, &wParam));
        if (length <= 255) {
            EXPECT_NE(wParam, 0u) << length;
            ::GlobalDeleteAtom(static_cast<ATOM>(wParam));
        } else {
            EXPECT_EQ(wParam, 0u) << length;
        }
    }
}

TEST(GuardDecisionTest, OtherKindsDoNotHandOver) {
    using C = CCommandLineInfo;
    for (auto kind : {C::FilePrint, C::FilePrintTo, C::FileDDE, C::AppRegister, C::AppUnregister,
                      C::FileNothing}) {
        CCommandLineInfo info;
        info.m_nShellCommand = kind;
        info.m_strFileName = L"x.txt";
        WPARAM wParam = 0;
        EXPECT_FALSE(PrepareHandOver(info, &wParam)) << static_cast<int>(kind);
    }
}

} // namespace
