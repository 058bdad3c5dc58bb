#pragma once

#include <filesystem>
#include <utility>

// Removes a temporary file when it goes out of scope, unless Release() says the file was moved into place.
// Each system's atomic file code defines the destructor with its own call that removes a file. The path is in
// the system's own form (UTF-16 on Windows), ready for its calls.
class TemporaryPath {
public:
    explicit TemporaryPath(std::filesystem::path path) : path_(std::move(path)) {}
    ~TemporaryPath();
    TemporaryPath(const TemporaryPath&) = delete;
    TemporaryPath& operator=(const TemporaryPath&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    void Release() { path_.clear(); }

private:
    std::filesystem::path path_;
};
