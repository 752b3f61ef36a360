#include "update/Version.h"

#include <cstdlib>
#include <cstring>

void ParseVersion(CVersion& version, const char* text) {
    const std::size_t length = text ? std::strlen(text) : 0;
    for (std::size_t pos = 0; pos <= 6; pos += 2) {
        const char one[2] = {pos < length ? text[pos] : '\0', '\0'};
        version.push_back(std::atoi(one));
    }
}

bool IsNewerVersion(const CVersion& published, const CVersion& own) {
    if (published.size() < 4 || own.size() < 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        if (published[i] != own[i])
            return published[i] > own[i];
    }
    return false;
}
