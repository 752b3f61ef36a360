// A shell command on the Linux side (xdotool, ImageMagick), started now and waited for.
#pragma once
#include <string>

class CHostCommand {
public:
    // Runs `command` under /bin/sh.
    explicit CHostCommand(const std::wstring& command);
    ~CHostCommand();
    CHostCommand(const CHostCommand&) = delete;
    CHostCommand& operator=(const CHostCommand&) = delete;

    bool Finished() const;
    // Waits up to `timeoutMs`, pumping this thread's messages meanwhile (the command's effects
    // on our windows need them); true when the command has ended. Wine does not report a
    // Linux program's exit status: callers check the effect themselves.
    bool Wait(unsigned long timeoutMs = 5000);

private:
    std::wstring m_marker;
    bool m_bStarted = false;
};

// `xdotool <args>` on the display, waited for.
bool Xdo(const std::wstring& args);
