// String values of a module's version resource.
#pragma once
#include <string>

#include <windows.h>

// The value `name` (for example "FileVersion") of the version resource of `module`
// (null: the running executable); empty when the resource or the value is missing.
// A resource with exactly one translation is read under it; any other is read under the
// user's default language with code page 04B0.
std::wstring GetVersionInfoString(HMODULE module, const char* name);
