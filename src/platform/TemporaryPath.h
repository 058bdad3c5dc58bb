#pragma once

#include <string>
#include <utility>

// A path in the system's own form: UTF-16 on Windows, ready for its calls.
#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

// Removes a temporary file when it goes out of scope, unless Release() says the file was moved into place.
// Each system's atomic file code defines the destructor with its own call that removes a file.
class TemporaryPath {
public:
    explicit TemporaryPath(NativePath path) : path_(std::move(path)) {}
    ~TemporaryPath();
    TemporaryPath(const TemporaryPath&) = delete;
    TemporaryPath& operator=(const TemporaryPath&) = delete;

    const NativePath& path() const noexcept { return path_; }
    void Release() { path_.clear(); }

private:
    NativePath path_;
};
