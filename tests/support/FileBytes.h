#pragma once

#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Plain file access for tests, independent of the program's own file code that the tests check.

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    if (!std::ofstream(PathOf(path), std::ios::binary | std::ios::trunc)
             .write(bytes.data(), std::ssize(bytes))) {
        throw std::runtime_error("cannot write " + path);
    }
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in the folder, sorted.
inline std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(Utf8Of(entry.path().filename()));
    }
    std::ranges::sort(names);
    return names;
}
