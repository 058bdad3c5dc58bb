#include "registry/RegKeyPath.h"

#include <cerrno>
#include <string>

namespace {

constexpr std::size_t MaximumDepth = 512;

} // namespace

bool FitsOnOneLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
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
