#pragma once

#include <string>
#include <utility>

// The outcome of an operation that can fail: success, or the system's error code and its description.
// A result is never dropped unread: the compiler refuses it unless the caller says why with a cast to void.
class [[nodiscard]] Status {
public:
    Status() = default;

    static Status Failure(long code, std::string description) { return Status(code, std::move(description)); }
    // The C library's description of an errno value.
    static Status FromErrno(int error);

    bool ok() const noexcept { return !failed_; }
    long code() const noexcept { return code_; }
    const std::string& description() const noexcept { return description_; }

private:
    Status(long code, std::string description)
        : failed_(true), code_(code), description_(std::move(description)) {}

    bool failed_ = false;
    long code_ = 0;
    std::string description_;
};
