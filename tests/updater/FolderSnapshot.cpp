#include "FolderSnapshot.h"

CSnapshot Snapshot(const fs::path& root) {
    CSnapshot snapshot;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
        const std::string name = entry.path().lexically_relative(root).generic_string();
        if (entry.is_directory())
            snapshot[name + "/"] = "";
        else
            snapshot[name] = ReadFile(entry.path());
    }
    return snapshot;
}

std::string Difference(const CSnapshot& actual, const CSnapshot& expected) {
    std::string lines;
    for (const auto& [name, bytes] : actual) {
        const auto other = expected.find(name);
        if (other == expected.end())
            lines += "+ " + name + "\n";
        else if (other->second != bytes)
            lines += "~ " + name + " (" + std::to_string(bytes.size()) + " bytes, expected " +
                     std::to_string(other->second.size()) + ")\n";
    }
    for (const auto& [name, bytes] : expected)
        if (!actual.contains(name))
            lines += "- " + name + "\n";
    return lines;
}
