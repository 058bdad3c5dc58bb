#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/PathText.h"
#include "platform/VersionText.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/Win32Error.h"

#include <process.h>
#include <windows.h>
#else
#include "platform/FileLock.h"
#include "platform/modShellExecute.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// In place of the C library's calls: each fails once with the error set here; closeError fails the first
// close after the next fsync.
namespace {
int fsyncError = 0, closeError = 0, flockError = 0, closeErrorArmed = 0;
} // namespace
extern "C" int fsync(int fd) {
    closeErrorArmed = std::exchange(closeError, 0);
    const int error = std::exchange(fsyncError, 0);
    return error != 0 ? (errno = error, -1) : static_cast<int>(::syscall(SYS_fsync, fd));
}
extern "C" int close(int fd) {
    const int result = static_cast<int>(::syscall(SYS_close, fd));
    const int error = std::exchange(closeErrorArmed, 0);
    return error != 0 ? (errno = error, -1) : result;
}
extern "C" int flock(int fd, int operation) noexcept {
    const int error = std::exchange(flockError, 0);
    return error != 0 ? (errno = error, -1) : static_cast<int>(::syscall(SYS_flock, fd, operation));
}
#endif

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// Beneath a file, onto a folder or onto a read-only file (even for root) nothing changes.
TEST(AtomicFile, ReplacesWhatItCanAndLeavesEverythingElseAsItWas) {
    TempFolder folder;
    const std::string list = "список";
    std::string large, read;
    std::generate_n(std::back_inserter(large), 256000, [i = 0]() mutable { return static_cast<char>(i++); });
    for (const std::string& bytes : {large, std::string()}) {
        ASSERT_TRUE(ReplaceFileAtomically(folder.File(list), bytes).ok() &&
                    ReadWholeFile(folder.File(list), read).ok());
        EXPECT_TRUE(read == bytes && ReadBytes(folder.File(list)) == bytes) << bytes.size();
    }
    WriteBytes(folder.File("read-only"), "kept");
    fs::permissions(folder.File("read-only"), fs::perms::owner_read);
    fs::create_directory(folder.File("folder"));
    EXPECT_FALSE(ReplaceFileAtomically(folder.File(list + "/beneath"), "x").ok() ||
                 ReplaceFileAtomically(folder.File("folder"), "x").ok());
#ifdef _WIN32
    const std::string denied = StatusFromWin32(ERROR_ACCESS_DENIED).description();
#else
    const std::string denied = Status::FromErrno(EACCES).description();
#endif
    EXPECT_EQ(ReplaceFileAtomically(folder.File("read-only"), "x").description(), denied);
    EXPECT_EQ(ReadBytes(folder.File("read-only")), "kept");
    EXPECT_EQ(FolderListing(folder.Path()), (Names{"folder", "read-only", list}));
}

TEST(AppPaths, ComeFromTheExecutablesFolderEndingInOneSeparator) {
    const std::string S(1, PathSeparator);
    EXPECT_EQ(AddBackslash("") + AddBackslash("T") + AddBackslash("T" + S) + AddBackslash("T" + S + S),
              S + "T" + S + "T" + S + "T" + S + S);
    InitGlobalsForExecutable("D:" + S + "Tools" + S + "ievantrel.exe");
    EXPECT_EQ(EngineFile + "|" + DefaultEngineFile,
              "D:" + S + "Tools" + S + "Search Engines.ini|D:" + S + "Tools" + S + "Search Engines.bak");
    InitGlobals();
    EXPECT_TRUE(fs::exists(PathOf(AppFolder + "platform_test")) ||
                fs::exists(PathOf(AppFolder + "platform_test.exe")))
        << AppFolder;
#ifdef _WIN32
    // A message shows a path in the ANSI code page (Windows-1252 here).
    EXPECT_EQ(PathInMessage("C:\\Дмитрий\\é"), "C:\\???????\\\xE9");
    // A copy of this program in a folder named in letters outside that code page passes these tests there.
    if (std::getenv("VANTREL_COPY") == nullptr) {
        TempFolder folder;
        const fs::path copy = folder.Path() / u8"Дмитрий" / "platform_test.exe";
        fs::create_directory(copy.parent_path());
        fs::copy_file(ExecutableWidePath(), copy);
        SetEnvironmentVariableW(L"VANTREL_COPY", L"1");
        EXPECT_EQ(_wspawnl(_P_WAIT, copy.c_str(), (L"\"" + copy.wstring() + L"\"").c_str(),
                           L"--gtest_filter=AppPaths.*:VersionText.*", nullptr),
                  0);
        SetEnvironmentVariableW(L"VANTREL_COPY", nullptr);
    }
#endif
}

TEST(VersionText, PadsTheMinorNumberAndTheRevisionAndComesFromTheResourceOnWindows) {
    EXPECT_EQ(MainWindowCaption({3, 7, 10}) + MainWindowCaption({2, 12, 0}),
              "IE Vantrel v2.07IE Vantrel v2.12");
    EXPECT_EQ(VersionText({2, 5, 0}) + VersionText({2, 123, 0}), "2.052.123");
    EXPECT_EQ(BuildText({2, 0, 7}) + BuildText({2, 0, 12345}), "#0007#12345");
#ifdef _WIN32
    // This program carries a version resource of its own: 3.07, build 42.
    const ProgramVersion version = CurrentVersion();
    EXPECT_EQ(VersionText(version) + BuildText(version), "3.07#0042");
#endif
}

#ifndef _WIN32
TEST(AtomicFile, KeepsPermissionsAndFollowsLinks) {
    TempFolder folder;
    const std::string path = folder.File("list.ini");
    const mode_t previous = ::umask(022);
    ASSERT_TRUE(ReplaceFileAtomically(path, "new").ok());
    ::umask(previous);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));
    fs::permissions(path, fs::perms(0600));
    ASSERT_TRUE(ReplaceFileAtomically(path, "newer").ok());
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600));
    fs::create_symlink("list.ini", folder.File("link"));
    ASSERT_TRUE(ReplaceFileAtomically(folder.File("link"), "through").ok());
    EXPECT_TRUE(ReadBytes(path) == "through" && fs::is_symlink(folder.File("link")));
    EXPECT_EQ(FolderListing(folder.Path()), (Names{"link", "list.ini"}));
}

// A write not finished is not claimed; a lock waits on only after an interruption.
TEST(AtomicFile, FailedCallsAreReportedAndNotRetriedExceptAnInterruption) {
    TempFolder folder;
    const std::string path = folder.File("list.ini"), lockPath = folder.File("list.lock");
    WriteBytes(path, "old");
    for (int* fault : {&fsyncError, &closeError}) {
        *fault = EIO;
        EXPECT_EQ(ReplaceFileAtomically(path, "new").description(), Status::FromErrno(EIO).description());
    }
    EXPECT_EQ(ReplaceFileAtomically(folder.File(std::string(250, 'n')), "new").description(),
              Status::FromErrno(ENAMETOOLONG).description());
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(FolderListing(folder.Path()), Names{"list.ini"});
    std::string bytes;
    EXPECT_EQ(ReadWholeFile("/proc/self/mem", bytes).description(), Status::FromErrno(EIO).description());
    FileLock lock;
    EXPECT_EQ(lock.Acquire(path + "/lock").description(),
              "The lock file \"" + path +
                  "/lock\" cannot be opened: " + Status::FromErrno(ENOTDIR).description() + ".");
    flockError = ENOLCK;
    EXPECT_EQ(lock.Acquire(lockPath).description(), "The lock file \"" + lockPath + "\" cannot be locked: " +
                                                        Status::FromErrno(ENOLCK).description() + ".");
    flockError = EINTR;
    EXPECT_TRUE(lock.Acquire(lockPath).ok());
    // Released twice, the lock does not close the file that took its old number.
    lock.Release();
    const int reused = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    lock.Release();
    EXPECT_NE(::fcntl(reused, F_GETFD), -1);
    ::close(reused);
}

// A recording xdg-open on PATH shows the address reaches it as one argument, read by no shell.
TEST(ShellOpen, HandsTheExactAddressToXdgOpenAsOneArgumentInTheWorkingFolder) {
    TempFolder folder;
    const std::string oldPath = std::getenv("PATH"), address = "http://e.com/a b?q=$(id)&x=`id`;'\"|*";
    WriteBytes(folder.File("xdg-open"), "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$#\" \"$@\" > record\n");
    fs::permissions(folder.File("xdg-open"), fs::perms::owner_all);
    ::setenv("PATH", (folder.Path().string() + ":" + oldPath).c_str(), 1);
    SystemShell::Instance().Open(ShellOpenRequest{address, "", 0, 1, folder.Path().string(), true});
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(ReadBytes(folder.File("record")), folder.Path().string() + "\n1\n" + address + "\n");
}
#endif

} // namespace
