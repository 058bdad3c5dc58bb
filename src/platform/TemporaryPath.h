#pragma once

#include <string>
#include <utility>

// Removes a temporary file when it goes out of scope, unless Release() says the file was moved into place.
// Each system's atomic file code defines the destructor with its own call that removes a file.
class TemporaryPath {
public:
    explicit TemporaryPath(std::string path) : path_(std::move(path)) {}
    ~TemporaryPath();
    TemporaryPath(const TemporaryPath&) = delete;
    TemporaryPath& operator=(const TemporaryPath&) = delete;

    const std::string& path() const noexcept { return path_; }
    void Release() { path_.clear(); }

private:
    std::string path_;
};
