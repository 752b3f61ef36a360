// The application object of the framework tests: it records what reaches PreTranslateMessage.
#pragma once
#include "framework/WinApp.h"
#include <functional>

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(L"FrameworkTests") {}
    BOOL PreTranslateMessage(MSG* msg) override {
        if (onPreTranslate && onPreTranslate(msg))
            return TRUE;
        return CWinApp::PreTranslateMessage(msg);
    }
    std::function<bool(MSG*)> onPreTranslate;
};

CTestApp& TestApp();

// Pumps the thread's messages until `done` or the time is up; true when done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
