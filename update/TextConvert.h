// Conversions between wide text and the system's ANSI code page.
#pragma once
#include <cstdlib>
#include <memory>

// Both return a new block from the C heap that the caller releases with free(),
// or null for a null argument.
char* WideToAnsi(const wchar_t* text);
wchar_t* AnsiToWide(const char* text);

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

// Owner for the blocks above.
template <class T> using HeapText = std::unique_ptr<T, FreeDeleter>;

inline HeapText<char> ToAnsi(const wchar_t* text) {
    return HeapText<char>(WideToAnsi(text));
}
inline HeapText<wchar_t> ToWide(const char* text) {
    return HeapText<wchar_t>(AnsiToWide(text));
}
