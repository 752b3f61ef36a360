#include "update/EntryPath.h"

#include <cstring>
#include <string_view>

namespace {

bool IsReservedDeviceName(std::string_view segment) {
    // The device is named by what stands before the first dot, trailing blanks ignored.
    segment = segment.substr(0, segment.find('.'));
    while (!segment.empty() && segment.back() == ' ')
        segment.remove_suffix(1);
    auto equalsIgnoreCase = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const char x = (a[i] >= 'a' && a[i] <= 'z') ? a[i] - 'a' + 'A' : a[i];
            if (x != b[i])
                return false;
        }
        return true;
    };
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (equalsIgnoreCase(segment, device))
            return true;
    }
    if (segment.size() == 4 && (equalsIgnoreCase(segment.substr(0, 3), "COM") ||
                                equalsIgnoreCase(segment.substr(0, 3), "LPT"))) {
        const unsigned char digit = static_cast<unsigned char>(segment[3]);
        // Superscript one, two and three of the Western code page count as digits too.
        return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    }
    return false;
}

bool IsPlainSegment(std::string_view segment) {
    if (segment.empty())
        return false;
    if (segment.find_first_not_of(". ") == std::string_view::npos)
        return false;
    for (unsigned char c : segment) {
        if (c < 0x20 || std::strchr("<>:\"/|?*", c))
            return false;
    }
    return !IsReservedDeviceName(segment);
}

} // namespace

bool IsSafeEntryPath(const char* name) {
    if (!name || !*name)
        return false;
    std::string_view rest(name);
    if (rest.back() == '\\')
        rest.remove_suffix(1);
    while (true) {
        const std::size_t separator = rest.find('\\');
        if (!IsPlainSegment(rest.substr(0, separator)))
            return false;
        if (separator == std::string_view::npos)
            return true;
        rest.remove_prefix(separator + 1);
    }
}
