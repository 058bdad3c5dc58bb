#include "platform/AtomicFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/Win32Error.h"

#include <windows.h>
#else
#include "platform/FileLock.h"

#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

// These take the place of the C library's calls in this program, the library under test included: each fails
// once with the error set here, then runs normally. closeError fails the first close after the next fsync.
namespace {
int fsyncError = 0, closeError = 0, flockError = 0, closeErrorArmed = 0;
int Fail(int error) {
    errno = error;
    return -1;
}
} // namespace
extern "C" int fsync(int fd) {
    closeErrorArmed = std::exchange(closeError, 0);
    const int error = std::exchange(fsyncError, 0);
    return error != 0 ? Fail(error) : static_cast<int>(::syscall(SYS_fsync, fd));
}
extern "C" int close(int fd) {
    const int result = static_cast<int>(::syscall(SYS_close, fd));
    const int error = std::exchange(closeErrorArmed, 0);
    return error != 0 ? Fail(error) : result;
}
extern "C" int flock(int fd, int operation) noexcept {
    const int error = std::exchange(flockError, 0);
    return error != 0 ? Fail(error) : static_cast<int>(::syscall(SYS_flock, fd, operation));
}
#endif

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(AtomicFile, ReplacesAndReadsBackEveryByteLeavingNothingBeside) {
    TempFolder folder;
    const std::string path = folder.File("list.ini");
    std::string large;
    for (int i = 0; i < 256000; ++i) {
        large += static_cast<char>(i);
    }
    for (const std::string& bytes : {large, std::string("short"), std::string(), large}) {
        ASSERT_TRUE(ReplaceFileAtomically(path, bytes).ok());
        std::string read = "stale";
        ASSERT_TRUE(ReadWholeFile(path, read).ok());
        EXPECT_EQ(read, bytes);
        EXPECT_EQ(ReadBytes(path), bytes);
    }
    EXPECT_EQ(FolderListing(folder.Path()), Names{"list.ini"});
}

// Beneath a file, onto a folder, onto a read-only file (refused even for root): nothing changes.
TEST(AtomicFile, AReplacementThatCannotBeWrittenLeavesEverythingAsItWas) {
    TempFolder folder;
    WriteBytes(folder.File("blocker"), "a file");
    WriteBytes(folder.File("read-only"), "kept");
    fs::permissions(folder.File("read-only"), fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(folder.File("folder"));
    for (const char* name : {"blocker/list.ini", "folder", "read-only"}) {
        EXPECT_FALSE(ReplaceFileAtomically(folder.File(name), "x").description().empty()) << name;
    }
#ifdef _WIN32
    const std::string denied = StatusFromWin32(ERROR_ACCESS_DENIED).description();
#else
    const std::string denied = Status::FromErrno(EACCES).description();
#endif
    EXPECT_EQ(ReplaceFileAtomically(folder.File("read-only"), "x").description(), denied);
    EXPECT_EQ(ReadBytes(folder.File("blocker")) + ReadBytes(folder.File("read-only")), "a filekept");
    EXPECT_EQ(FolderListing(folder.Path()), (Names{"blocker", "folder", "read-only"}));
    EXPECT_TRUE(fs::is_empty(folder.File("folder")));
}

TEST(AtomicFile, LeftoverTemporariesOfTheFileAreRemovedAndNothingElse) {
    TempFolder folder;
#ifdef _WIN32
    const Names leftovers = {"store.reg.tmp-412-1", "store.reg.tmp-9-27"};
#else
    const Names leftovers = {".store.reg.a1B2c3", ".store.reg.zzzzzz"};
#endif
    const Names others = {".other.reg.a1B2c3", ".store.reg.toolong", "store.reg", "store.reg.lock"};
    for (const auto& name : leftovers) {
        WriteBytes(folder.File(name), "partial");
    }
    for (const auto& name : others) {
        WriteBytes(folder.File(name), "keep");
    }
    RemoveLeftoverTemporaries(folder.File("store.reg"));
    EXPECT_EQ(FolderListing(folder.Path()), others);
}

#ifndef _WIN32
TEST(AtomicFile, ANewFileGetsTheUsualPermissionsAReplacedOneKeepsItsOwnAndALinkIsFollowed) {
    TempFolder folder;
    const std::string path = folder.File("list.ini");
    const mode_t previous = ::umask(022);
    const Status created = ReplaceFileAtomically(path, "new");
    ::umask(previous);
    ASSERT_TRUE(created.ok());
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));
    fs::permissions(path, fs::perms(0600));
    ASSERT_TRUE(ReplaceFileAtomically(path, "newer").ok());
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600));

    fs::create_directory(folder.File("elsewhere"));
    fs::create_symlink(fs::path("elsewhere") / "target.ini", folder.File("link.ini"));
    for (const char* bytes : {"made", "replaced"}) {
        ASSERT_TRUE(ReplaceFileAtomically(folder.File("link.ini"), bytes).ok());
        EXPECT_EQ(ReadBytes(folder.File("elsewhere/target.ini")), bytes);
    }
    EXPECT_TRUE(fs::is_symlink(folder.File("link.ini")));
    EXPECT_EQ(FolderListing(folder.File("elsewhere")), Names{"target.ini"});
}

// A write the system could not finish is not claimed: the old file stays and no temporary file is left.
TEST(AtomicFile, AFailedSyncOrCloseBeforeTheRenameKeepsTheOldFile) {
    for (int* fault : {&fsyncError, &closeError}) {
        TempFolder folder;
        WriteBytes(folder.File("list.ini"), "old");
        *fault = EIO;
        EXPECT_EQ(ReplaceFileAtomically(folder.File("list.ini"), "new").description(),
                  Status::FromErrno(EIO).description());
        EXPECT_EQ(ReadBytes(folder.File("list.ini")), "old");
        EXPECT_EQ(FolderListing(folder.Path()), Names{"list.ini"});
    }
    // Reading a process's memory at address 0 fails for real, with EIO.
    std::string bytes;
    EXPECT_EQ(ReadWholeFile("/proc/self/mem", bytes).description(), Status::FromErrno(EIO).description());
}

TEST(FileLock, FailsWithItsReasonOnARealErrorAndWaitsOnAfterAnInterruption) {
    TempFolder folder;
    const std::string missing = folder.File("none/store.lock"), path = folder.File("store.lock");
    FileLock lock;
    EXPECT_EQ(lock.Acquire(missing).description(), "The lock file \"" + missing + "\" cannot be opened: " +
                                                       Status::FromErrno(ENOENT).description() + ".");
    flockError = ENOLCK;
    EXPECT_EQ(lock.Acquire(path).description(), "The lock file \"" + path + "\" cannot be locked: " +
                                                    Status::FromErrno(ENOLCK).description() + ".");
    flockError = EINTR;
    EXPECT_TRUE(lock.Acquire(path).ok());
}
#endif
