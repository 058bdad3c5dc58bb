#include "engines/modFileIO.h"
#include "engines/VectorEngineRows.h"
#include "platform/AtomicFile.h"
#include "startup/AppPaths.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#endif

namespace {

EngineRow Row(std::string prefix, std::string url) {
    std::string tag = "PREFIX=" + prefix + "\tURL=" + url;
    return {std::move(prefix), std::move(url), std::move(tag), true};
}

std::vector<EngineRow> AllRows(const EngineRows& rows) {
    std::vector<EngineRow> all;
    for (std::size_t i = 1; i <= rows.Count(); ++i) {
        all.push_back(rows.Row(i));
    }
    return all;
}

class CountingButtons final : public ListButtons {
public:
    void SetEditSearchEngineEnabled(bool enabled) override { Record(enabled); }
    void SetRemoveSearchEngineEnabled(bool enabled) override { Record(enabled); }
    void SetInstallShortcutsEnabled(bool enabled) override { Record(enabled); }
    int Enabled = 0;
    int Disabled = 0;

private:
    void Record(bool enabled) { ++(enabled ? Enabled : Disabled); }
};

// Each test gets its own application folder holding the two list files' paths.
class EngineListFile : public ::testing::Test {
protected:
    void SetUp() override { InitGlobalsForExecutable(folder.File("ievantrel")); }

    std::string ReadError(const std::string& path) {
        std::string ignored;
        return ReadWholeFile(path, ignored).description();
    }
    PromptMessage LoadFailure(std::string_view sBuffer, const std::string& description) {
        return {"LoadEngines()",
                JoinLines({"Error while trying to load search engines.", "",
                           "sBuffer: " + std::string(sBuffer), "Error: " + description}),
                PromptIcon::Critical, PromptButtons::Ok};
    }

    TempFolder folder;
    VectorEngineRows rows;
    RecordingPrompt prompt;
};

TEST_F(EngineListFile, LinesEndAtCrLfOrALoneCrAndEmptyLinesAreSkipped) {
    WriteBytes(EngineFile, "PREFIX=a\tURL=1\r\n\r\nPREFIX=b\tURL=2\rPREFIX=c\tURL=3\nPREFIX=x\r\n   \r\n"
                           "URL=5\tPREFIX=e\tNAME=n\r\rPREFIX=f\tURL=6");
    AddEngineRow(rows, "stale", "row");

    LoadEngines(rows, prompt);

    EXPECT_EQ(AllRows(rows), (std::vector<EngineRow>{Row("a", "1"), Row("b", "2"), Row("c", "3\nPREFIX=x"),
                                                     Row("", ""), Row("e", "5"), Row("f", "6")}));
    EXPECT_TRUE(prompt.Shown.empty());
}

TEST_F(EngineListFile, AnLfOnlyFileIsOneEngine) {
    WriteBytes(EngineFile, "PREFIX=a\tURL=1\nPREFIX=b\tURL=2\n");
    LoadEngines(rows, prompt);
    EXPECT_EQ(AllRows(rows), (std::vector<EngineRow>{Row("a", "1\nPREFIX=b")}));
}

TEST_F(EngineListFile, AByteOrderMarkIsSkippedOnlyAtTheVeryStart) {
    WriteBytes(EngineFile, "\xEF\xBB\xBFPREFIX=g\tURL=u\r\n\xEF\xBB\xBFPREFIX=h\tURL=v\r\n");
    LoadEngines(rows, prompt);
    EXPECT_EQ(AllRows(rows), (std::vector<EngineRow>{Row("g", "u"), Row("", "v")}));
}

TEST_F(EngineListFile, NonAsciiAndControlBytesComeBackByteForByte) {
    std::string canonical;
    for (int first = 0; first < 256; first += 16) {
        std::string prefix, url = "https://e.example/?q=%s&x=";
        for (int c = first; c < first + 16; ++c) {
            if (c != '\t' && c != '\r' && c != '\n') {
                (c % 2 ? prefix : url) += static_cast<char>(c);
            }
        }
        canonical += "PREFIX=" + prefix + "\tURL=" + url + "\r\n";
    }
    WriteBytes(EngineFile, canonical);
    WriteBytes(DefaultEngineFile, "PREFIX=unused\tURL=u\r\n");

    LoadEngines(rows, prompt);
    ASSERT_EQ(rows.Count(), 16U);
    WriteBytes(EngineFile, "");
    ASSERT_TRUE(SaveEngines(rows, prompt));

    EXPECT_EQ(ReadBytes(EngineFile), canonical);
    EXPECT_TRUE(prompt.Shown.empty());
}

TEST_F(EngineListFile, SavingWritesCanonicalLinesInRowOrder) {
    WriteBytes(EngineFile, "URL=u1\tPREFIX=p\tNAME=x\r\nPREFIX=p\tURL=u2\rjunk\tPREFIX=q");
    LoadEngines(rows, prompt);
    rows.SetChecked(2, false);
    ASSERT_TRUE(SaveEngines(rows, prompt));
    EXPECT_EQ(ReadBytes(EngineFile), "PREFIX=p\tURL=u1\r\nPREFIX=p\tURL=u2\r\nPREFIX=\tURL=\r\n");
}

TEST_F(EngineListFile, AnEmptyListIsAFileOfZeroBytes) {
    WriteBytes(EngineFile, "PREFIX=g\tURL=u\r\n");
    ASSERT_TRUE(SaveEngines(rows, prompt));
    EXPECT_EQ(std::filesystem::file_size(EngineFile), 0U);

    AddEngineRow(rows, "stale", "row");
    LoadEngines(rows, prompt);
    EXPECT_EQ(rows.Count(), 0U);
    EXPECT_TRUE(prompt.Shown.empty());
}

TEST_F(EngineListFile, AMissingFileLeavesNoRowsAndIsReported) {
    AddEngineRow(rows, "stale", "row");
    LoadEngines(rows, prompt);

    EXPECT_EQ(rows.Count(), 0U);
    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage>{LoadFailure("", ReadError(EngineFile))}));
    EXPECT_FALSE(std::filesystem::exists(EngineFile));
}

TEST_F(EngineListFile, AFolderInPlaceOfTheFileIsReportedAndReleased) {
    std::filesystem::create_directory(EngineFile);
    WriteBytes(EngineFile + "/inside", "PREFIX=g\tURL=u\r\n");
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
    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage>{LoadFailure("", ReadError(EngineFile))}));
    EXPECT_EQ(FolderListing(EngineFile), (std::vector<std::string>{"inside"}));
}

TEST_F(EngineListFile, BinaryBytesAndAHugeLineLoadWithoutComplaint) {
    std::string binary(1 << 20, '\0');
    std::mt19937 random(7);
    for (auto& byte : binary) {
        byte = static_cast<char>(random());
    }
    WriteBytes(EngineFile, binary);
    LoadEngines(rows, prompt);
    EXPECT_GT(rows.Count(), 1000U);
    EXPECT_EQ(ReadBytes(EngineFile), binary);

    const std::string huge = "PREFIX=h\tURL=" + std::string(10 << 20, 'x');
    WriteBytes(EngineFile, huge);
    LoadEngines(rows, prompt);
    ASSERT_EQ(rows.Count(), 1U);
    EXPECT_EQ(rows.Row(1).Tag, huge);
    EXPECT_TRUE(prompt.Shown.empty());
}

TEST_F(EngineListFile, ASaveThatCannotWriteIsReportedAndKeepsTheRows) {
    // A regular file where the application folder should be stops even root from writing there.
    WriteBytes(folder.File("blocker"), "not a folder");
    InitGlobalsForExecutable(folder.File("blocker") + PathSeparator + "ievantrel");
    AddEngineRow(rows, "g", "u");
    const auto before = AllRows(rows);

    EXPECT_FALSE(SaveEngines(rows, prompt));

    EXPECT_EQ(AllRows(rows), before);
    const std::string description = ReplaceFileAtomically(EngineFile, "x").description();
    EXPECT_EQ(prompt.Shown,
              (std::vector<PromptMessage>{{"SaveEngines()",
                                           JoinLines({"Error while trying to save search engines.", "",
                                                      "File: " + EngineFile, "Error: " + description}),
                                           PromptIcon::Exclamation, PromptButtons::Ok}}));
    EXPECT_EQ(ReadBytes(folder.File("blocker")), "not a folder");
}

TEST_F(EngineListFile, RestoreCopiesTheDefaultListAndReloads) {
    const std::string defaults =
        "PREFIX=d\tURL=https://d.example/?q=%s\r\nPREFIX=w\tURL=https://w.example/%s\r\n";
    WriteBytes(DefaultEngineFile, defaults);
    WriteBytes(EngineFile, "PREFIX=old\tURL=old\r\n");
    CountingButtons buttons;

    EXPECT_TRUE(RestoreEngines(rows, buttons, prompt));

    EXPECT_EQ(AllRows(rows), (std::vector<EngineRow>{Row("d", "https://d.example/?q=%s"),
                                                     Row("w", "https://w.example/%s")}));
    EXPECT_EQ(buttons.Enabled, 3);
    EXPECT_EQ(ReadBytes(EngineFile), defaults);
    EXPECT_EQ(ReadBytes(DefaultEngineFile), defaults);
    EXPECT_TRUE(prompt.Shown.empty());
}

TEST_F(EngineListFile, ARestoreWithoutTheDefaultListKeepsTheOldFileAndRows) {
    WriteBytes(EngineFile, "PREFIX=mine\tURL=u\r\n");
    LoadEngines(rows, prompt);
    CountingButtons buttons;

    EXPECT_FALSE(RestoreEngines(rows, buttons, prompt));

    EXPECT_EQ(ReadBytes(EngineFile), "PREFIX=mine\tURL=u\r\n");
    EXPECT_EQ(AllRows(rows), (std::vector<EngineRow>{Row("mine", "u")}));
    EXPECT_EQ(buttons.Enabled + buttons.Disabled, 0);
    EXPECT_EQ(prompt.Shown,
              (std::vector<PromptMessage>{
                  {"Error Restoring Engines",
                   JoinLines({"There was an error while trying to restore the engines file.", "",
                              "Trying to copy this: " + DefaultEngineFile, "To this: " + EngineFile,
                              "Because: " + ReadError(DefaultEngineFile)}),
                   PromptIcon::Exclamation, PromptButtons::Ok}}));
}

TEST_F(EngineListFile, RemoveFileDeletesAFileAndIgnoresEverythingElse) {
    WriteBytes(EngineFile, "x");
    RemoveFile(EngineFile);
    EXPECT_FALSE(std::filesystem::exists(EngineFile));
    RemoveFile(EngineFile);

    std::filesystem::create_directory(EngineFile);
    RemoveFile(EngineFile);
    EXPECT_TRUE(std::filesystem::is_directory(EngineFile));
}

#ifndef _WIN32
// Runs `write` where no file may grow beyond `limit` bytes, so the write stops half way. Gives 0 when `write`
// reported the failure in one box titled `title`.
template <typename Write> int FailHalfWay(rlim_t limit, const std::string& title, Write write) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{limit, limit};
    setrlimit(RLIMIT_FSIZE, &small);
    RecordingPrompt childPrompt;
    const bool ok = write(childPrompt);
    const bool reported = childPrompt.Shown.size() == 1 && childPrompt.Shown[0].Title == title;
    return !ok && reported ? 0 : 1;
}

// The limit lasts for the rest of a process, so the write runs in a child.
template <typename Write> void ExpectFailsHalfWay(rlim_t limit, const std::string& title, Write write) {
    EXPECT_EXIT(std::_Exit(FailHalfWay(limit, title, write)), ::testing::ExitedWithCode(0), "");
}

TEST_F(EngineListFile, ASaveThatFailsHalfWayKeepsTheOldList) {
    const std::string old = "PREFIX=old\tURL=https://old.example/?q=%s\r\n";
    WriteBytes(EngineFile, old);
    for (int i = 0; i < 1000; ++i) {
        AddEngineRow(rows, "p" + std::to_string(i), "https://e.example/?q=%s");
    }

    ExpectFailsHalfWay(4096, "SaveEngines()",
                       [this](Prompt& childPrompt) { return SaveEngines(rows, childPrompt); });

    EXPECT_EQ(ReadBytes(EngineFile), old);
    EXPECT_EQ(FolderListing(folder.Path()), (std::vector<std::string>{"Search Engines.ini"}));
}

TEST_F(EngineListFile, ARestoreThatFailsHalfWayKeepsTheOldList) {
    const std::string old = "PREFIX=old\tURL=https://old.example/?q=%s\r\n";
    WriteBytes(EngineFile, old);
    WriteBytes(DefaultEngineFile, std::string(100000, 'x'));
    CountingButtons buttons;

    ExpectFailsHalfWay(4096, "Error Restoring Engines",
                       [&](Prompt& childPrompt) { return RestoreEngines(rows, buttons, childPrompt); });

    EXPECT_EQ(ReadBytes(EngineFile), old);
    EXPECT_EQ(FolderListing(folder.Path()),
              (std::vector<std::string>{"Search Engines.bak", "Search Engines.ini"}));
}
#endif

} // namespace
