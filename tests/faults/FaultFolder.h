#pragma once

#include "platform/AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// The whole content of a file, or a marker when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::string bytes;
    return ReadWholeFile(path, bytes).ok() ? bytes : std::string("(unreadable)");
}

// The names in a folder other than the ones expected there: what a write left behind.
inline std::vector<std::string> StrayFiles(const std::filesystem::path& folder,
                                           const std::vector<std::string>& expected) {
    std::vector<std::string> strays;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
            strays.push_back(name);
        }
    }
    return strays;
}
