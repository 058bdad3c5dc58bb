#include "platform/AtomicFile.h"

#include "platform/FileTooLarge.h"
#include "platform/PathText.h"
#include "platform/TemporaryPath.h"
#include "platform/Win32Error.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const noexcept { return handle_; }
    bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

Status LastError() {
    return StatusFromWin32(GetLastError());
}

constexpr std::wstring_view TemporaryMark = L".tmp-";

std::wstring TemporaryNameBeside(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    return path + std::wstring(TemporaryMark) + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

// A final path comes in the long form "\\?\C:\..." or "\\?\UNC\server\share\..."; the short form names the
// same file, as the path the caller gave does.
std::wstring WithoutLongPathPrefix(const std::wstring& path) {
    constexpr std::wstring_view Unc = L"\\\\?\\UNC\\";
    constexpr std::wstring_view Local = L"\\\\?\\";
    if (path.starts_with(Unc)) {
        return L"\\\\" + path.substr(Unc.size());
    }
    return path.starts_with(Local) ? path.substr(Local.size()) : path;
}

// The file that a replacement of `path` writes: where its links lead, so that a link stays a link and its
// target is replaced in the target's own folder. A path that names no file yet is itself.
std::wstring FinalTarget(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        return path;
    }
    std::wstring target(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(file.get(), target.data(), static_cast<DWORD>(target.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return path;
        }
        if (length < target.size()) {
            target.resize(length);
            return WithoutLongPathPrefix(target);
        }
        target.resize(length);
    }
}

// A read-only file is never replaced: the move over it would be refused on Windows itself but not under every
// system that runs the program, so it is refused here, as the move would be.
Status RefuseReadOnly(const std::wstring& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return StatusFromWin32(ERROR_ACCESS_DENIED);
    }
    return {};
}

Status WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return LastError();
        }
        bytes.remove_prefix(written);
    }
    return {};
}

Status ReadAll(const std::string& path, std::string& bytes) {
    bytes.clear();
    FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return LastError();
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            return LastError();
        }
        if (got == 0) {
            return {};
        }
        bytes.append(buffer, got);
    }
}

} // namespace

TemporaryPath::~TemporaryPath() {
    if (!path_.empty()) {
        DeleteFileW(path_.c_str());
    }
}

Status ReadWholeFile(const std::string& path, std::string& bytes) {
    return UnlessFileTooLarge(bytes, [&] { return ReadAll(path, bytes); });
}

Status ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    const std::wstring target = FinalTarget(WideFromUtf8(path));
    if (Status writable = RefuseReadOnly(target); !writable.ok()) {
        return writable;
    }
    TemporaryPath temporary(TemporaryNameBeside(target));
    FileHandle file(CreateFileW(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        temporary.Release();
        return LastError();
    }
    if (Status written = WriteAll(file.get(), bytes); !written.ok()) {
        return written;
    }
    if (!FlushFileBuffers(file.get()) || !file.Close()) {
        return LastError();
    }
    if (!MoveFileExW(temporary.path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return LastError();
    }
    temporary.Release();
    return {};
}

void RemoveLeftoverTemporaries(const std::string& linkOrFile) {
    const std::wstring path = FinalTarget(WideFromUtf8(linkOrFile));
    const auto separator = path.find_last_of(L"\\/");
    const std::wstring folder =
        separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((path + std::wstring(TemporaryMark) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::unique_ptr<void, BOOL (*)(HANDLE)> closer(search, FindClose);
    do {
        DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
}
