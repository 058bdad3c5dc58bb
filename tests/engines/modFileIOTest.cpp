#include "engines/modFileIO.h"
#include "engines/VectorEngineRows.h"
#include "engines/modGUI.h"
#include "engines/modParse.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifdef _WIN32
#include "platform/Win32Error.h"

#include <windows.h>
#else
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#endif

namespace {

using Rows = std::vector<EngineRow>;

EngineRow Row(const std::string& prefix, const std::string& url) {
    return {prefix, url, MakeRecordLine(prefix, url), true};
}

Rows AllRows(const EngineRows& rows) {
    Rows all;
    for (std::size_t i = 1; i <= rows.Count(); ++i) {
        all.push_back(rows.Row(i));
    }
    return all;
}

// Each test gets its own application folder holding the two list files' paths.
class EngineListFile : public ::testing::Test {
protected:
    void SetUp() override { InitGlobalsForExecutable(folder.File("ievantrel")); }

    std::string ReadError(const std::string& path) {
        std::string ignored;
        return ReadWholeFile(path, ignored).description();
    }
    PromptMessage Box(std::string title, std::initializer_list<std::string_view> lines, PromptIcon icon) {
        return {std::move(title), JoinLines(lines), icon, PromptButtons::Ok};
    }

    const std::string old = "PREFIX=old\tURL=https://old.example/?q=%s\r\n";
    TempFolder folder;
    VectorEngineRows rows;
    RecordingPrompt prompt;
};

// Each case loads the bytes, then saves the rows back as canonical lines in row order, checked or not.
TEST_F(EngineListFile, LoadsEachLineByTheParsingRulesAndSavesItCanonically) {
    Rows everyByte;
    std::string everyByteFile;
    for (int first = 0; first < 256; first += 16) {
        std::string prefix, url = "https://e.example/?q=%s&x=";
        for (int c = first; c < first + 16; ++c) {
            if (c != '\t' && c != '\r' && c != '\n') {
                (c % 2 ? prefix : url) += static_cast<char>(c);
            }
        }
        everyByte.push_back(Row(prefix, url));
        everyByteFile += everyByte.back().Tag + "\r\n";
    }
    const std::string hugeUrl(10 << 20, 'x');
    const std::vector<std::pair<std::string, Rows>> cases = {
        {"PREFIX=a\tURL=1\r\n\r\nPREFIX=b\tURL=2\rPREFIX=c\tURL=3\nPREFIX=x\r\n   "
         "\r\nURL=5\tPREFIX=e\tNAME=n\r\r"
         "PREFIX=f\tURL=6\rjunk\tPREFIX=q",
         {Row("a", "1"), Row("b", "2"), Row("c", "3\nPREFIX=x"), Row("", ""), Row("e", "5"), Row("f", "6"),
          Row("", "")}},
        {"PREFIX=a\tURL=1\nPREFIX=b\tURL=2\n", {Row("a", "1\nPREFIX=b")}},
        {"\xEF\xBB\xBFPREFIX=g\tURL=u\r\n\xEF\xBB\xBFPREFIX=h\tURL=v\r\n", {Row("g", "u"), Row("", "v")}},
        {"", {}},
        {everyByteFile, everyByte},
        {"PREFIX=h\tURL=" + hugeUrl, {Row("h", hugeUrl)}},
    };
    for (const auto& [bytes, expected] : cases) {
        WriteBytes(EngineFile, bytes);
        AddEngineRow(rows, "stale", "row");
        LoadEngines(rows, prompt);
        ASSERT_EQ(AllRows(rows), expected) << bytes.substr(0, 100);
        std::string canonical;
        for (const auto& row : expected) {
            canonical += row.Tag + "\r\n";
        }
        if (!expected.empty()) {
            rows.SetChecked(1, false);
        }
        ASSERT_TRUE(SaveEngines(rows, prompt));
        EXPECT_EQ(ReadBytes(EngineFile), canonical);
    }
    EXPECT_TRUE(prompt.Shown.empty());
}

TEST_F(EngineListFile, BadFilesLoadOrAreReportedAndStayAsTheyWere) {
    std::string binary(1 << 20, '\0');
    std::generate(binary.begin(), binary.end(), std::mt19937(7));
    WriteBytes(EngineFile, binary);
    LoadEngines(rows, prompt);
    EXPECT_GT(rows.Count(), 1000U);
    EXPECT_EQ(ReadBytes(EngineFile), binary);
    std::filesystem::remove(EngineFile);

    const auto failure = [this] {
        return Box("LoadEngines()",
                   {"Error while trying to load search engines.", "",
                    "sBuffer: ", "Error: " + ReadError(EngineFile)},
                   PromptIcon::Critical);
    };
    std::vector<PromptMessage> expected{failure()};
    AddEngineRow(rows, "stale", "row");
    LoadEngines(rows, prompt);
    EXPECT_EQ(rows.Count(), 0U);
    EXPECT_FALSE(std::filesystem::exists(EngineFile));

    std::filesystem::create_directory(EngineFile);
    WriteBytes(EngineFile + "/inside", old);
    expected.push_back(failure());
#ifdef __linux__
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto before = openFiles();
#endif
    LoadEngines(rows, prompt);
#ifdef __linux__
    EXPECT_EQ(openFiles(), before);
#endif
    EXPECT_EQ(rows.Count(), 0U);
    EXPECT_EQ(FolderListing(EngineFile), (std::vector<std::string>{"inside"}));
    EXPECT_EQ(prompt.Shown, expected);
}

TEST_F(EngineListFile, ASaveThatCannotWriteIsReportedAndKeepsTheRows) {
    // A regular file where the application folder should be stops even root from writing there.
    WriteBytes(folder.File("blocker"), "not a folder");
    InitGlobalsForExecutable(folder.File("blocker") + PathSeparator + "ievantrel");
    AddEngineRow(rows, "g", "u");

    EXPECT_FALSE(SaveEngines(rows, prompt));

    EXPECT_EQ(AllRows(rows), Rows{Row("g", "u")});
    const std::string description = ReplaceFileAtomically(EngineFile, "x").description();
    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage>{Box("SaveEngines()",
                                                            {"Error while trying to save search engines.", "",
                                                             "File: " + EngineFile, "Error: " + description},
                                                            PromptIcon::Exclamation)}));
}

TEST_F(EngineListFile, RestoreCopiesTheDefaultListOrKeepsTheOldOneWhenItCannot) {
    WriteBytes(EngineFile, old);
    LoadEngines(rows, prompt);
    EXPECT_FALSE(RestoreEngines(rows, prompt));
    EXPECT_EQ(ReadBytes(EngineFile), old);
    EXPECT_EQ(AllRows(rows), Rows{Row("old", "https://old.example/?q=%s")});
    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage>{
                                Box("Error Restoring Engines",
                                    {"There was an error while trying to restore the engines file.", "",
                                     "Trying to copy this: " + DefaultEngineFile, "To this: " + EngineFile,
                                     "Because: " + ReadError(DefaultEngineFile)},
                                    PromptIcon::Exclamation)}));

    const std::string defaults = "PREFIX=d\tURL=https://d.example/?q=%s\r\nPREFIX=w\tURL=w\r\n";
    WriteBytes(DefaultEngineFile, defaults);
    EXPECT_TRUE(RestoreEngines(rows, prompt));
    EXPECT_EQ(AllRows(rows), (Rows{Row("d", "https://d.example/?q=%s"), Row("w", "w")}));
    EXPECT_EQ(ReadBytes(EngineFile), defaults);
    EXPECT_EQ(prompt.Shown.size(), 1U);
}

// A read-only list is never replaced, not even by root; a linked list is replaced (or made) at its target, in
// the target's folder, and the link stays.
TEST_F(EngineListFile, AReadOnlyListStaysAndALinkedListIsWrittenThroughItsLink) {
#ifdef _WIN32
    const std::string denied = StatusFromWin32(ERROR_ACCESS_DENIED).description();
#else
    const std::string denied = Status::FromErrno(EACCES).description();
#endif
    namespace fs = std::filesystem;
    WriteBytes(DefaultEngineFile, old);
    WriteBytes(EngineFile, "kept");
    fs::permissions(EngineFile, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    AddEngineRow(rows, "g", "u");
    EXPECT_FALSE(SaveEngines(rows, prompt));
    EXPECT_FALSE(RestoreEngines(rows, prompt));
    EXPECT_EQ(ReadBytes(EngineFile), "kept");
    ASSERT_EQ(prompt.Shown.size(), 2U);
    EXPECT_TRUE(prompt.Shown[0].Text.ends_with("Error: " + denied)) << prompt.Shown[0].Text;
    EXPECT_TRUE(prompt.Shown[1].Text.ends_with("Because: " + denied)) << prompt.Shown[1].Text;

    fs::permissions(EngineFile, fs::perms::owner_write, fs::perm_options::add);
#ifdef _WIN32
    // The C++ library makes no symbolic link on Windows, nor does Wine 8 (its CreateSymbolicLink does
    // nothing).
    GTEST_SKIP() << "no symbolic links";
#endif
    fs::remove(EngineFile);
    fs::create_directory(folder.File("elsewhere"));
    const std::string target = folder.File("elsewhere") + PathSeparator + "list.ini";
    fs::create_symlink(fs::path("elsewhere") / "list.ini", EngineFile);
    EXPECT_TRUE(SaveEngines(rows, prompt));
    EXPECT_EQ(ReadBytes(target), "PREFIX=g\tURL=u\r\n");
    EXPECT_TRUE(RestoreEngines(rows, prompt));
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_TRUE(fs::is_symlink(EngineFile));
    EXPECT_EQ(FolderListing(folder.File("elsewhere")), std::vector<std::string>{"list.ini"});
}

#ifndef _WIN32
// The copy runs in a child process, as no file there may grow beyond 4096 bytes, so it stops half way. A save
// that fails half way is the fault tests' case.
TEST_F(EngineListFile, ARestoreThatFailsHalfWayKeepsTheOldList) {
    WriteBytes(EngineFile, old);
    WriteBytes(DefaultEngineFile, std::string(100000, 'x'));
    const auto child = [this] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &small);
        const bool ok = RestoreEngines(rows, prompt);
        return !ok && prompt.Shown.size() == 1 && prompt.Shown[0].Title == "Error Restoring Engines" ? 0 : 1;
    };
    EXPECT_EXIT(std::_Exit(child()), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(EngineFile), old);
    EXPECT_EQ(FolderListing(folder.Path()),
              (std::vector<std::string>{"Search Engines.bak", "Search Engines.ini"}));
}
#endif

} // namespace
