// Running this thread's messages from a test, the way the framework's loops do: every
// message goes through the framework's pre-translation (dialog navigation, the controls'
// own PreTranslateMessage, the application's) before it is dispatched.
#pragma once
#include <functional>

#include <windows.h>

// Pumps until `done()` holds or `timeoutMs` has passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
// Pumps for `ms` milliseconds.
void Pump(DWORD ms);
