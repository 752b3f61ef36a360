// Pictures of the display for people to look at, in build/artifacts, taken from outside Wine
// with ImageMagick.
#pragma once
#include <string>
#include <vector>

#include <windows.h>

// Saves the display (or the screen rectangle `area`) as build/artifacts/`name`.png and returns
// the file's Windows path; empty when no picture was written.
std::wstring CaptureScreen(const std::wstring& name, const RECT* area = nullptr);
// Stacks the pictures `parts` (names as given to CaptureScreen) top to bottom into
// build/artifacts/`name`.png and removes the parts; true when written.
bool StackScreenshots(const std::vector<std::wstring>& parts, const std::wstring& name);
