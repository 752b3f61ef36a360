// Installing is all or nothing: a failure at any single step leaves the old files exactly.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "FolderSnapshot.h"
#include "updater/Install.h"

namespace {

// Fails the n-th creating, copying or renaming call (and, when `persistent`, every one
// after it) with `error`; deleting is left alone so that undoing can proceed.
class CFailingFileSystem : public CFileSystem {
public:
    int failAt = 0;
    DWORD error = ERROR_DISK_FULL;
    bool persistent = false;
    int calls = 0;

    DWORD CreateFolder(const std::wstring& path) override {
        return Fails() ? error : CFileSystem::CreateFolder(path);
    }
    DWORD CopyToNewFile(const std::wstring& from, const std::wstring& to) override {
        return Fails() ? error : CFileSystem::CopyToNewFile(from, to);
    }
    DWORD Rename(const std::wstring& from, const std::wstring& to) override {
        return Fails() ? error : CFileSystem::Rename(from, to);
    }

private:
    bool Fails() {
        ++calls;
        return calls == failAt || (persistent && failAt && calls > failAt);
    }
};

class InstallTest : public testing::Test {
protected:
    void SetUp() override { Arrange(); }

    // A fresh game folder with an unpacked package in its update folder.
    void Arrange() {
        m_root = std::make_unique<CTempFolder>();
        WriteFile(Game() / "Zorvane.exe", "old launcher");
        WriteFile(Game() / "updater.dll", "old updater");
        WriteFile(Game() / "data" / "skin.dat", "old skin");
        WriteFile(Game() / "game.ini", "the player's own file");

        WriteFile(Package() / "Zorvane.exe", "new launcher");
        WriteFile(Package() / "updater.dll", "new updater");
        WriteFile(Package() / "data" / "skin.dat", "new skin");
        WriteFile(Package() / "fonts" / "latin" / "serif.ttf", "new font");
        // The updater's own files in the update folder are not part of the package.
        WriteFile(Package() / "ud_data.txt", "hand-over");
        WriteFile(Package() / "fileVersion.txt", "3.0.0.5\r\n");
        WriteFile(Package() / "update.log", "earlier failure\r\n");
        WriteFile(Package() / "Zorvane.zip", "archive");
        WriteFile(Package() / "FILEVERSION.ZIP", "archive");
    }

    fs::path Game() const { return *m_root / "Zorvane Game"; }
    fs::path Package() const { return Game() / "Launcher Updater"; }
    // The game folder without its update folder.
    CSnapshot Installed() const {
        CSnapshot snapshot = Snapshot(Game());
        std::erase_if(snapshot, [](const auto& entry) {
            return entry.first.starts_with("Launcher Updater/");
        });
        return snapshot;
    }

    InstallOutcome Install(CFileSystem& files, std::wstring& reason) const {
        const CInstallRequest request{Package().wstring(), Game().wstring(), L"Zorvane.exe", L""};
        return InstallPackage(request, files, reason);
    }

    const CSnapshot kNew{{"Zorvane.exe", "new launcher"},
                         {"data/", ""},
                         {"data/skin.dat", "new skin"},
                         {"fonts/", ""},
                         {"fonts/latin/", ""},
                         {"fonts/latin/serif.ttf", "new font"},
                         {"game.ini", "the player's own file"},
                         {"updater.dll", "new updater"}};

private:
    std::unique_ptr<CTempFolder> m_root;
};

TEST_F(InstallTest, ReplacesEveryPackageFileAndLeavesNothingElseBehind) {
    CFileSystem files;
    std::wstring reason;
    ASSERT_EQ(Install(files, reason), InstallOutcome::Installed) << reason.c_str();
    EXPECT_EQ(Difference(Installed(), kNew), "");
    // The package itself is left for the caller to remove.
    EXPECT_EQ(ReadFile(Package() / "Zorvane.exe"), "new launcher");
}

TEST_F(InstallTest, AFailureAtAnyStepPutsEveryOldFileBack) {
    // A first run counts the steps; the fixture is then made afresh.
    CFailingFileSystem counter;
    std::wstring ignored;
    ASSERT_EQ(Install(counter, ignored), InstallOutcome::Installed);
    Arrange();
    // Two folders, four new files written, three old files moved aside, four moved in.
    ASSERT_EQ(counter.calls, 13);

    const CSnapshot before = Snapshot(Game());
    for (int step = 1; step <= counter.calls; ++step) {
        SCOPED_TRACE("failing step " + std::to_string(step));
        CFailingFileSystem files;
        files.failAt = step;
        std::wstring reason;
        EXPECT_EQ(Install(files, reason), InstallOutcome::NotInstalled);
        EXPECT_NE(reason.find(L"error 112"), std::wstring::npos) << reason.c_str();
        EXPECT_EQ(Difference(Snapshot(Game()), before), "");
    }
}

TEST_F(InstallTest, AFileBusyForAMomentDoesNotStopTheInstall) {
    for (int step = 1; step <= 13; ++step) {
        Arrange();
        SCOPED_TRACE("busy step " + std::to_string(step));
        CFailingFileSystem files;
        files.failAt = step;
        files.error = ERROR_SHARING_VIOLATION;
        std::wstring reason;
        // Copies and folders are not retried; the renames of the swap are.
        const InstallOutcome outcome = Install(files, reason);
        if (step <= 6) {
            EXPECT_EQ(outcome, InstallOutcome::NotInstalled);
        } else {
            EXPECT_EQ(outcome, InstallOutcome::Installed) << reason.c_str();
            EXPECT_EQ(Difference(Installed(), kNew), "");
        }
    }
}

TEST_F(InstallTest, WhenAnOldFileCannotBePutBackItIsKeptAndNamed) {
    CFailingFileSystem files;
    // The launcher is moved in last (step 13); from there on no rename succeeds, so the
    // three old files stay under their backup names.
    files.failAt = 13;
    files.persistent = true;
    files.error = ERROR_WRITE_PROTECT;
    std::wstring reason;
    ASSERT_EQ(Install(files, reason), InstallOutcome::PartlyUndone);
    for (const char* name : {"Zorvane.exe", "updater.dll", "data\\skin.dat"}) {
        const std::wstring backup = (Game() / name).wstring() + L".zvold";
        EXPECT_NE(reason.find(L"\"" + backup + L"\""), std::wstring::npos) << reason.c_str();
    }
    EXPECT_EQ(ReadFile(Game() / "Zorvane.exe.zvold"), "old launcher");
    EXPECT_EQ(ReadFile(Game() / "updater.dll.zvold"), "old updater");
    EXPECT_EQ(ReadFile(Game() / "data" / "skin.dat.zvold"), "old skin");
}

TEST_F(InstallTest, NamesTakenByEarlierLeftoversAreNotReused) {
    WriteFile(Game() / "Zorvane.exe.zvnew", "someone's");
    WriteFile(Game() / "Zorvane.exe.zvold", "someone else's");
    CFileSystem files;
    std::wstring reason;
    ASSERT_EQ(Install(files, reason), InstallOutcome::Installed) << reason.c_str();
    EXPECT_EQ(ReadFile(Game() / "Zorvane.exe"), "new launcher");
    EXPECT_EQ(ReadFile(Game() / "Zorvane.exe.zvnew"), "someone's");
    EXPECT_EQ(ReadFile(Game() / "Zorvane.exe.zvold"), "someone else's");
    EXPECT_FALSE(fs::exists(Game() / "Zorvane.exe.zvnew1"));
    EXPECT_FALSE(fs::exists(Game() / "Zorvane.exe.zvold1"));
}

struct RefusalCase {
    const char* name;
    void (*arrange)(const fs::path& game);
    const wchar_t* reason;
};

void PrintTo(const RefusalCase& refusal, std::ostream* out) {
    *out << refusal.name;
}

class InstallRefusalTest : public InstallTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(InstallRefusalTest, ChangesNothing) {
    GetParam().arrange(Game());
    const CSnapshot before = Snapshot(Game());
    // The held file must stay held while the installation runs.
    HANDLE held = CreateFileW((Game() / "data" / "skin.dat").c_str(), GENERIC_READ,
                              std::string(GetParam().name) == "TargetHeldWithoutSharing"
                                  ? 0
                                  : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    CFailingFileSystem files;
    std::wstring reason;
    EXPECT_EQ(Install(files, reason), InstallOutcome::NotInstalled);
    CloseHandle(held);
    EXPECT_EQ(files.calls, 0) << "something was changed before every check was made";
    EXPECT_NE(reason.find(GetParam().reason), std::wstring::npos) << reason.c_str();
    SetFileAttributesW((Game() / "data" / "skin.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Difference(Snapshot(Game()), before), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, InstallRefusalTest,
    testing::Values(RefusalCase{"NoLauncherInThePackage",
                                [](const fs::path& game) {
                                    fs::remove(game / "Launcher Updater" / "Zorvane.exe");
                                },
                                L"does not hold the launcher \"Zorvane.exe\""},
                    RefusalCase{"ReadOnlyTarget",
                                [](const fs::path& game) {
                                    SetFileAttributesW((game / "data" / "skin.dat").c_str(),
                                                       FILE_ATTRIBUTE_READONLY);
                                },
                                L"is read-only"},
                    RefusalCase{"TargetHeldWithoutSharing", [](const fs::path&) {}, L"is in use"},
                    RefusalCase{"FolderInTheWayOfAFile",
                                [](const fs::path& game) {
                                    fs::remove(game / "updater.dll");
                                    fs::create_directories(game / "updater.dll");
                                },
                                L"a folder is in the way"},
                    RefusalCase{"FileInTheWayOfAFolder",
                                [](const fs::path& game) { WriteFile(game / "fonts", "a file"); },
                                L"a file is in the way of the folder"},
                    RefusalCase{"PackageNamingTheUpdateFolder",
                                [](const fs::path& game) {
                                    WriteFile(game / "Launcher Updater" / "Launcher Updater" /
                                                  "x.txt",
                                              "x");
                                },
                                L"holds a folder \"Launcher Updater\""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
