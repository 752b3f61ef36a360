// Paths assembled in fixed narrow buffers. A path that would not fit, terminator
// included, is refused and leaves the buffer empty: nothing is cut short.
#pragma once
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string_view>

inline bool BuildPath(char* out, std::size_t size, std::initializer_list<std::string_view> parts) {
    std::size_t total = 0;
    for (std::string_view part : parts)
        total += part.size();
    if (size == 0)
        return false;
    if (total + 1 > size) {
        out[0] = '\0';
        return false;
    }
    char* at = out;
    for (std::string_view part : parts) {
        std::memcpy(at, part.data(), part.size());
        at += part.size();
    }
    *at = '\0';
    return true;
}

template <std::size_t N>
bool BuildPath(char (&out)[N], std::initializer_list<std::string_view> parts) {
    return BuildPath(out, N, parts);
}
