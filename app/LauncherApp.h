// The launcher's application object: one copy per machine, GDI+ for the skin, and the
// skin window run modally as the whole life of the program.
#pragma once
#include "app/WinAppEx.h"
#include "imaging/GdiplusSession.h"

// The id as published: its last group has 13 digits, and other copies look for exactly this.
inline constexpr wchar_t kLauncherUniqueId[] = L"{6A97833B-7441-4711-B96A-B9D28D4B4DF21}";
inline constexpr wchar_t kRegistryKeyName[] = L"Local AppWizard-Generated Applications";

// GDI+, running from InitInstance to ExitInstance.
extern CGdiplusSession g_gdiplusToken;

class CLauncherApp : public CWinAppEx {
public:
    CLauncherApp() : CWinAppEx(nullptr) {}

    // Always FALSE: the modal skin window is the whole run, so no message pump follows.
    BOOL InitInstance() override;
    // Shuts GDI+ down (harmless with the zero token of a second copy).
    int ExitInstance() override;
};
