#include "UpdateScene.h"

#include "tests/support/Screenshot.h"

namespace {

const std::wstring kFakeLauncher =
    std::wstring(ZV_BIN_DIR) + L"\\tests\\updater\\zv_fake_launcher.exe";
const std::wstring kUpdater = std::wstring(ZV_BIN_DIR) + L"\\updater\\updater.dll";

std::wstring Quoted(const fs::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

} // namespace

std::string CUpdateScene::FakeLauncher() {
    static const std::string bytes = ReadFile(kFakeLauncher);
    return bytes;
}

std::string CUpdateScene::UpdaterLibrary() {
    static const std::string bytes = ReadFile(kUpdater);
    return bytes;
}

CUpdateScene::CUpdateScene() {
    // Bytes after the end of an image do not stop it from loading or running.
    WriteFile(Game() / "Zorvane.exe", OldLauncher());
    WriteFile(Game() / "updater.dll", UpdaterLibrary());
    WriteFile(Game() / "data" / "notes.txt", "old notes");

    WriteFile(UpdateFolder() / "Zorvane.exe", NewLauncher());
    WriteFile(UpdateFolder() / "updater.dll", NewUpdater());
    WriteFile(UpdateFolder() / "data" / "notes.txt", "new notes");
    WriteFile(UpdateFolder() / "data" / "maps" / "north.map", "new map");
    WriteFile(UpdateFolder() / "fileVersion.txt", "3.0.0.5\r\n");
}

std::string CUpdateScene::HandOverText(DWORD id, const char* restart) const {
    const std::string exeDir = Game().string();
    return exeDir + "\\Zorvane.exe\r\n" + exeDir + "\\Launcher Updater\r\n" + exeDir + "\r\n" +
           std::to_string(id) + "\r\n" + restart + "\r\n";
}

void CUpdateScene::WriteHandOver(const std::string& bytes) const {
    WriteFile(HandOverPath(), bytes);
}

CChildProcess CUpdateScene::StartOldLauncher() const {
    return CChildProcess(Quoted(Game() / "Zorvane.exe") + L" wait", Game().wstring());
}

DWORD CUpdateScene::EndedLauncherId() const {
    CChildProcess launcher = StartOldLauncher();
    const DWORD id = launcher.Id();
    launcher.End();
    return id;
}

CChildProcess CUpdateScene::StartOtherProgram(const std::wstring& arguments) const {
    return CChildProcess(L"\"" + kFakeLauncher + L"\" " + arguments, m_root.Path().wstring());
}

CChildProcess CUpdateScene::StartUpdater() const {
    // As the launcher does: unquoted path, the game folder as working folder, no window.
    return CChildProcess(
        L"RUNDLL32.EXE .\\updater.dll,_ExternalUpdate@16 " + HandOverPath().wstring(),
        Game().wstring(), CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS | DETACHED_PROCESS);
}

CUpdaterRun CUpdateScene::Finish(const CChildProcess& updater, const std::string& screenshot) {
    CUpdaterRun run;
    HWND last = nullptr;
    for (DWORD waited = 0; waited < 30000; waited += 50) {
        if (HWND box = FindMessageBox(updater.Id()); box && box != last) {
            last = box;
            run.boxes.push_back(MessageBoxText(box));
            if (run.boxes.size() == 1 && !screenshot.empty()) {
                // A moment for the box to paint itself: the screen has no other sign of it.
                Sleep(500);
                CaptureScreen(std::wstring(screenshot.begin(), screenshot.end()));
            }
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        if (updater.WaitEnd(50)) {
            run.ended = true;
            break;
        }
    }
    return run;
}
