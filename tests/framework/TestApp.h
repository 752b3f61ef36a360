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
