// Text at the updater's edges: the hand-over's narrow ANSI lines in, UTF-8 log lines out.
#pragma once
#include <string>
#include <string_view>

// ANSI code page to wide; empty for empty text.
std::wstring Widen(std::string_view text);
// Wide to UTF-8.
std::string ToUtf8(std::wstring_view text);
// "error N: the system's message for N".
std::wstring ErrorText(unsigned long error);
