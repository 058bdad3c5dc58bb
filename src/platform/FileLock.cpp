#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

Status LockFailure(const std::string& path, const char* what, int error) {
    return Status::Failure(error, "The lock file \"" + path + "\" cannot be " + what + ": " +
                                      Status::FromErrno(error).description() + ".");
}

} // namespace

Status FileLock::Acquire(const std::string& path) {
    Release();
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return LockFailure(path, "opened", errno);
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            Release();
            return LockFailure(path, "locked", error);
        }
    }
    return {};
}

void FileLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}
