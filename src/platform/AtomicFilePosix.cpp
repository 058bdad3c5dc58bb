#include "platform/AtomicFile.h"

#include "platform/FileTooLarge.h"
#include "platform/TemporaryPath.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const noexcept { return fd_; }
    // Closes now, reporting the error that close() itself can raise (a delayed write error, for example).
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int MaximumLinks = 40;

// The file that a replacement of `path` writes: the end of the chain of links that starts at `path`, so that
// a link stays a link and its target is replaced in the target's own folder. A path that names nothing yet
// (or a link to nothing) ends the chain there, and the file is made at that place.
Status FinalTarget(const std::string& path, std::string& target) {
    target = path;
    for (int links = 0; links <= MaximumLinks; ++links) {
        char link[PATH_MAX];
        const ssize_t length = ::readlink(target.c_str(), link, sizeof link);
        if (length < 0) {
            return errno == EINVAL || errno == ENOENT ? Status() : Status::FromErrno(errno);
        }
        if (static_cast<std::size_t>(length) == sizeof link) {
            return Status::FromErrno(ENAMETOOLONG);
        }
        const std::string_view next(link, static_cast<std::size_t>(length));
        if (next.starts_with('/')) {
            target = next;
        } else {
            target = FolderOf(target).append("/").append(next);
        }
    }
    return Status::FromErrno(ELOOP);
}

// A file that may not be written is never replaced. The rename needs only a writable folder, and root may
// write any file, so a file without a single write permission bit is refused here for everyone.
Status RefuseReadOnly(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        return {};
    }
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return Status::FromErrno(EACCES);
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return Status::FromErrno(errno);
    }
    return {};
}

// Temporary files are "." + the file's name + "." + six random letters or digits, beside the file.
constexpr std::size_t RandomPartLength = 6;

std::string TemporaryPrefix(const std::string& path) {
    // Appended rather than "." + name + ".", which GCC 12 at -O3 wrongly reports as an overlapping copy.
    std::string prefix = ".";
    prefix.append(NameOf(path)).append(".");
    return prefix;
}

// Creates a new temporary file beside `path`. Unlike mkstemp's 0600, it is created with 0666 less the umask,
// so a list or store made where none existed gets the user's usual permissions.
Status CreateTemporaryBeside(const std::string& path, std::string& temporaryPath, int& fd) {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
    const std::string stem = FolderOf(path) + "/" + TemporaryPrefix(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = stem;
        for (std::size_t i = 0; i < RandomPartLength; ++i) {
            temporaryPath += Letters[pick(random)];
        }
        fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return {};
        }
        if (errno != EEXIST) {
            return Status::FromErrno(errno);
        }
    }
    return Status::FromErrno(EEXIST);
}

Status WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Status::FromErrno(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// The new file keeps the permissions of the file it replaces.
void CopyPermissions(const std::string& from, int toFd) {
    struct stat existing {};
    if (::stat(from.c_str(), &existing) == 0) {
        ::fchmod(toFd, existing.st_mode & 07777);
    }
}

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

Status ReadAll(const std::string& path, std::string& bytes) {
    bytes.clear();
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return Status::FromErrno(errno);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return Status::FromErrno(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return Status::FromErrno(EISDIR);
    }
    if (info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Status::FromErrno(errno);
        }
        if (got == 0) {
            return {};
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

TemporaryPath::~TemporaryPath() {
    if (!path_.empty()) {
        ::unlink(path_.c_str());
    }
}

Status ReadWholeFile(const std::string& path, std::string& bytes) {
    return UnlessFileTooLarge(bytes, [&] { return ReadAll(path, bytes); });
}

Status ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    std::string target;
    if (Status resolved = FinalTarget(path, target); !resolved.ok()) {
        return resolved;
    }
    if (Status writable = RefuseReadOnly(target); !writable.ok()) {
        return writable;
    }
    const std::string folder = FolderOf(target);
    std::string temporaryPath;
    int created = -1;
    if (Status status = CreateTemporaryBeside(target, temporaryPath, created); !status.ok()) {
        return status;
    }
    FileDescriptor fd(created);
    TemporaryPath temporary(temporaryPath);
    CopyPermissions(target, fd.get());
    if (Status written = WriteAll(fd.get(), bytes); !written.ok()) {
        return written;
    }
    if (::fsync(fd.get()) != 0 || fd.Close() != 0) {
        return Status::FromErrno(errno);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        return Status::FromErrno(errno);
    }
    temporary.Release();
    SyncFolder(folder);
    return {};
}

void RemoveLeftoverTemporaries(const std::string& path) {
    std::string target;
    if (!FinalTarget(path, target).ok()) {
        return;
    }
    const std::string prefix = TemporaryPrefix(target);
    const std::string folder = FolderOf(target);
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (name.size() == prefix.size() + RandomPartLength && name.starts_with(prefix)) {
            ::unlink((folder + "/" + std::string(name)).c_str());
        }
    }
}
