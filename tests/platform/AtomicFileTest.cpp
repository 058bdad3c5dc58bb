#include "platform/AtomicFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "FailingCalls.h"
#include "platform/FileLock.h"

#include <cerrno>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string EveryByte(std::size_t repeats) {
    std::string bytes;
    for (std::size_t r = 0; r < repeats; ++r) {
        for (int c = 0; c < 256; ++c) {
            bytes += static_cast<char>(c);
        }
    }
    return bytes;
}

} // namespace

TEST(AtomicFile, ReplacesAndReadsBackEveryByteLeavingNothingBeside) {
    TempFolder folder;
    const std::string path = folder.File("Search Engines.ini");
    const std::string large = EveryByte(1000);

    ASSERT_TRUE(ReplaceFileAtomically(path, large).ok());
    EXPECT_EQ(ReadBytes(path), large);
    ASSERT_TRUE(ReplaceFileAtomically(path, "short").ok());
    EXPECT_EQ(ReadBytes(path), "short");
    ASSERT_TRUE(ReplaceFileAtomically(path, "").ok());

    std::string bytes = "stale";
    ASSERT_TRUE(ReadWholeFile(path, bytes).ok());
    EXPECT_EQ(bytes, "");
    ASSERT_TRUE(ReplaceFileAtomically(path, large).ok());
    ASSERT_TRUE(ReadWholeFile(path, bytes).ok());
    EXPECT_EQ(bytes, large);
    EXPECT_EQ(FolderListing(folder.Path()), (std::vector<std::string>{"Search Engines.ini"}));
}

TEST(AtomicFile, AReplacementThatCannotBeWrittenLeavesEverythingAsItWas) {
    TempFolder folder;
    const std::string blocker = folder.File("blocker");
    ASSERT_TRUE(ReplaceFileAtomically(blocker, "a file, not a folder").ok());

    const Status beneath = ReplaceFileAtomically((std::filesystem::path(blocker) / "list.ini").string(), "x");
    EXPECT_FALSE(beneath.ok());
    EXPECT_FALSE(beneath.description().empty());

    std::filesystem::create_directory(folder.File("folder"));
    EXPECT_FALSE(ReplaceFileAtomically(folder.File("folder"), "x").ok());

    EXPECT_EQ(ReadBytes(blocker), "a file, not a folder");
    EXPECT_EQ(FolderListing(folder.Path()), (std::vector<std::string>{"blocker", "folder"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder.File("folder")));
}

TEST(AtomicFile, LeftoverTemporariesOfTheFileAreRemovedAndNothingElse) {
    TempFolder folder;
    const std::string path = folder.File("HKEY_CURRENT_USER.reg");
    WriteBytes(path, "store");
#ifdef _WIN32
    const std::vector<std::string> leftovers = {"HKEY_CURRENT_USER.reg.tmp-412-1",
                                                "HKEY_CURRENT_USER.reg.tmp-9-27"};
#else
    const std::vector<std::string> leftovers = {".HKEY_CURRENT_USER.reg.a1B2c3",
                                                ".HKEY_CURRENT_USER.reg.zzzzzz"};
#endif
    const std::vector<std::string> others = {"HKEY_CURRENT_USER.reg.lock", ".HKEY_CURRENT_USER.reg.toolong",
                                             ".other.reg.a1B2c3"};
    for (const auto& name : leftovers) {
        WriteBytes(folder.File(name), "partial");
    }
    for (const auto& name : others) {
        WriteBytes(folder.File(name), "keep");
    }

    RemoveLeftoverTemporaries(path);

    std::vector<std::string> expected = others;
    expected.push_back("HKEY_CURRENT_USER.reg");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderListing(folder.Path()), expected);
    EXPECT_EQ(ReadBytes(path), "store");
}

#ifndef _WIN32
TEST(AtomicFile, ANewFileGetsTheUsualPermissionsAndAReplacedFileKeepsItsOwn) {
    TempFolder folder;
    const std::string path = folder.File("Search Engines.ini");
    const mode_t previous = ::umask(022);
    const Status created = ReplaceFileAtomically(path, "new");
    ::umask(previous);
    ASSERT_TRUE(created.ok());
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read | std::filesystem::perms::others_read);

    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_TRUE(ReplaceFileAtomically(path, "newer").ok());
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}
#endif

#ifndef _WIN32
// A write the system could not finish is not claimed: the old file stays and no temporary file is left.
TEST(AtomicFile, AFailedSyncOrCloseBeforeTheRenameKeepsTheOldFile) {
    for (int* fault : {&FailingCalls::FsyncError, &FailingCalls::CloseAfterFsyncError}) {
        TempFolder folder;
        const std::string path = folder.File("list.ini");
        WriteBytes(path, "old");
        *fault = EIO;
        const Status replaced = ReplaceFileAtomically(path, "new");
        *fault = 0;
        EXPECT_EQ(replaced.description(), Status::FromErrno(EIO).description());
        EXPECT_EQ(ReadBytes(path), "old");
        EXPECT_EQ(FolderListing(folder.Path()), std::vector<std::string>{"list.ini"});
    }
}

#ifdef __linux__
// Reading a process's memory at address 0 fails for real, with EIO, and is not retried.
TEST(AtomicFile, AReadErrorIsReturned) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile("/proc/self/mem", bytes).description(), Status::FromErrno(EIO).description());
}
#endif

TEST(FileLock, FailsWithItsReasonOnARealErrorAndWaitsOnAfterAnInterruption) {
    TempFolder folder;
    const std::string missing = folder.File("none") + "/store.lock";
    const std::string path = folder.File("store.lock");
    FileLock lock;
    EXPECT_EQ(lock.Acquire(missing).description(), "The lock file \"" + missing + "\" cannot be opened: " +
                                                       Status::FromErrno(ENOENT).description() + ".");
    FailingCalls::FlockError = ENOLCK;
    EXPECT_EQ(lock.Acquire(path).description(), "The lock file \"" + path + "\" cannot be locked: " +
                                                    Status::FromErrno(ENOLCK).description() + ".");
    FailingCalls::FlockError = EINTR;
    EXPECT_TRUE(lock.Acquire(path).ok());
}
#endif
