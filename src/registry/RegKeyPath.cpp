#include "registry/RegKeyPath.h"

#include "registry/Utf16.h"

#include <algorithm>
#include <cerrno>
#include <string>

namespace {

constexpr std::size_t MaximumDepth = 512;
constexpr std::size_t MaximumNameLength = 255;

} // namespace

bool FitsOnOneLine(std::string_view text) {
    return std::ranges::none_of(text, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

Status SplitKeyPath(std::string_view path, std::vector<std::string_view>& names) {
    names.clear();
    if (path.ends_with('\\')) {
        path.remove_suffix(1);
    }
    if (path.empty()) {
        return {};
    }
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find('\\', start);
        const std::string_view name = path.substr(start, end - start);
        if (name.empty()) {
            return Status::Failure(EINVAL,
                                   "The key path \"" + std::string(path) + "\" holds an empty key name.");
        }
        if (!FitsOnOneLine(name)) {
            return Status::Failure(EINVAL, "The key name \"" + std::string(name) + "\" holds a line break.");
        }
        if (Utf16Length(name) > MaximumNameLength) {
            return Status::Failure(EINVAL, "A key name is longer than " + std::to_string(MaximumNameLength) +
                                               " characters.");
        }
        names.push_back(name);
        if (names.size() > MaximumDepth) {
            return Status::Failure(EINVAL,
                                   "The key path is deeper than " + std::to_string(MaximumDepth) + " keys.");
        }
        if (end == std::string_view::npos) {
            return {};
        }
        start = end + 1;
    }
}
