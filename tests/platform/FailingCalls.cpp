#include "FailingCalls.h"

#include <cerrno>
#include <sys/file.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace FailingCalls {
int FsyncError = 0;
int CloseAfterFsyncError = 0;
int FlockError = 0;
} // namespace FailingCalls

namespace {

int closeError = 0;

int Fail(int error) {
    errno = error;
    return -1;
}

} // namespace

// These take the place of the C library's functions in this program, the library under test included.
extern "C" int fsync(int fd) {
    closeError = std::exchange(FailingCalls::CloseAfterFsyncError, 0);
    if (const int error = std::exchange(FailingCalls::FsyncError, 0); error != 0) {
        return Fail(error);
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int close(int fd) {
    const int result = static_cast<int>(::syscall(SYS_close, fd));
    if (const int error = std::exchange(closeError, 0); error != 0) {
        return Fail(error);
    }
    return result;
}

extern "C" int flock(int fd, int operation) noexcept {
    if (const int error = std::exchange(FailingCalls::FlockError, 0); error != 0) {
        return Fail(error);
    }
    return static_cast<int>(::syscall(SYS_flock, fd, operation));
}
