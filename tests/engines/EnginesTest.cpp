#include "engines/EngineCommands.h"
#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "engines/modGUI.h"
#include "engines/modParse.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/PathText.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using Boxes = std::vector<PromptMessage>;

TEST(RecordLine, SplitsAtEveryDelimiterAndReadsExactFieldNames) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(SplitString("a\t\tb", "\t"), (Pieces{"a", "", "b"}));
    EXPECT_EQ(SplitString("a\tb", ""), (Pieces{"a\tb"}));
    EXPECT_EQ(SplitString("aaaaa", "aa"), (Pieces{"", "", "a"}));
    // A first field without "=" hides the whole line; an empty line reads empty, not the default.
    const std::string fields[][3] = {{"PREFIX=g\tURL=u=v", "URL", "u=v"},
                                     {"URL=u\tPREFIX= g ", "PREFIX", " g "},
                                     {"prefix=g\tURL=u", "PREFIX", "none"},
                                     {"PREFIX =g\tURL=u", "PREFIX", "none"},
                                     {"PREFIX=first\tPREFIX=second", "PREFIX", "first"},
                                     {"PREFIX=\tPREFIX=2", "PREFIX", "none"},
                                     {"junk\tPREFIX=g", "PREFIX", "none"},
                                     {"\tURL=u", "URL", "none"},
                                     {"", "PREFIX", ""}};
    for (const auto& [line, key, expected] : fields) {
        EXPECT_EQ(GetField(line, key, "\t", "=", "none"), expected) << line << " key " << key;
    }
    EXPECT_EQ(MakeRecordLine("w\xE9", "https://e/?q=%s"), "PREFIX=w\xE9\tURL=https://e/?q=%s");
}

// The program sits in a folder named in letters outside the ANSI code page of a Western Windows.
class EngineList : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(PathOf(folder.File("Дмитрий")));
        InitGlobalsForExecutable(folder.File("Дмитрий") + PathSeparator + "ievantrel");
    }
    // The rows as "prefix url" lines, "-" marking an unchecked row.
    std::string Shown() const {
        std::string shown;
        for (std::size_t i = 1; i <= rows.Count(); ++i) {
            shown += rows.Row(i).Text + " " + rows.Row(i).SubItem1 + (rows.Row(i).Checked ? "\n" : "-\n");
        }
        return shown;
    }
    // A list file with one engine per prefix letter, or (`shown`) the rows that Shown() shows for it.
    static std::string List(const std::string& prefixes, bool shown = false) {
        std::string bytes;
        for (const char p : prefixes) {
            bytes += shown ? std::string{p, ' ', 'u', p, '\n'}
                           : std::string("PREFIX=") + p + "\tURL=u" + p + "\r\n";
        }
        return bytes;
    }
    void Load(const std::string& prefixes) {
        WriteBytes(EngineFile, List(prefixes));
        LoadEngines(rows, prompt);
    }
    TempFolder folder;
    VectorEngineRows rows;
    RecordingPrompt prompt;
};

// Each case loads the bytes, then saves the rows back as canonical lines in row order, checked or not.
TEST_F(EngineList, LoadsEachLineByTheParsingRulesAndSavesItCanonically) {
    std::string everyByte, everyByteShown;
    for (int first = 0; first < 256; first += 16) {
        std::string prefix, url = "?q=%s&x=";
        for (int c = first; c < first + 16; ++c) {
            (c % 2 ? prefix : url) += c == '\t' || c == '\r' || c == '\n' ? '.' : static_cast<char>(c);
        }
        everyByte += MakeRecordLine(prefix, url) + "\r\n";
        everyByteShown += prefix + " " + url + "\n";
    }
    const std::string huge(10 << 20, 'x');
    const std::string cases[][2] = {
        {"PREFIX=a\tURL=1\r\n\r\nPREFIX=b\tURL=2\rPREFIX=c\tURL=3\nPREFIX=x\n\n   "
         "\r\nURL=5\tPREFIX=e\tNAME=n\r\r"
         "PREFIX=f\tURL=6\rjunk\tPREFIX=q",
         "a 1\nb 2\nc 3\nx \n \ne 5\nf 6\n \n"},
        {"\xEF\xBB\xBFPREFIX=g\tURL=u\r\n\xEF\xBB\xBFPREFIX=h\tURL=v\r\n", "g u\n v\n"},
        {everyByte, everyByteShown},
        {"PREFIX=h\tURL=" + huge, "h " + huge + "\n"}};
    for (const auto& [bytes, shown] : cases) {
        WriteBytes(EngineFile, bytes);
        AddEngineRow(rows, "stale", "row");
        LoadEngines(rows, prompt);
        ASSERT_EQ(Shown(), shown) << bytes.substr(0, 100);
        std::string canonical;
        for (std::size_t i = 1; i <= rows.Count(); ++i) {
            canonical += MakeRecordLine(rows.Row(i).Text, rows.Row(i).SubItem1) + "\r\n";
            rows.SetChecked(i, false);
        }
        ASSERT_TRUE(SaveEngines(rows, prompt));
        EXPECT_EQ(ReadBytes(EngineFile), canonical);
    }
    EXPECT_TRUE(prompt.Shown.empty());
}

// Each failure says why; a read-only list and the rows stay. (A failed save is the fault tests' case.)
TEST_F(EngineList, FailuresToLoadOrRestoreAreReportedAndKeepTheOldList) {
    std::string ignored;
    const std::string missing = ReadWholeFile(EngineFile, ignored).description();
    AddEngineRow(rows, "stale", "row");
    LoadEngines(rows, prompt);
    EXPECT_EQ(rows.Count(), 0U);
    std::filesystem::create_directory(PathOf(EngineFile));
    LoadEngines(rows, prompt);
    const std::string isFolder = ReadWholeFile(EngineFile, ignored).description();
    std::filesystem::remove(PathOf(EngineFile));
    Load("o");
    WriteBytes(DefaultEngineFile, List("dw"));
    std::filesystem::permissions(PathOf(EngineFile), std::filesystem::perms::owner_read);
    const std::string denied = ReplaceFileAtomically(EngineFile, "x").description();
    EXPECT_FALSE(RestoreEngines(rows, prompt));
    EXPECT_EQ(ReadBytes(EngineFile) + Shown(), List("o") + List("o", true));
    const std::string loadError = "Error while trying to load search engines.\r\n\r\nsBuffer: \r\nError: ";
    EXPECT_EQ(
        prompt.Shown,
        (Boxes{{"LoadEngines()", loadError + missing, PromptIcon::Critical, PromptButtons::Ok},
               {"LoadEngines()", loadError + isFolder, PromptIcon::Critical, PromptButtons::Ok},
               {"Error Restoring Engines",
                "There was an error while trying to restore the engines file.\r\n\r\nTrying to copy this: " +
                    PathInMessage(DefaultEngineFile) + "\r\nTo this: " + PathInMessage(EngineFile) +
                    "\r\nBecause: " + denied,
                PromptIcon::Exclamation, PromptButtons::Ok}}));
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
    // A list larger than the memory a process may get, to read (1 GiB) or as rows (8 million lines of 2
    // bytes), fails to load in that process like any read, which goes on with no row; the file stays.
    std::string lines;
    while (lines.size() < (16 << 20)) {
        lines += "x\n";
    }
    for (const std::uintmax_t size : {std::uintmax_t{1} << 30, std::uintmax_t{lines.size()}}) {
        std::filesystem::permissions(PathOf(EngineFile), std::filesystem::perms::owner_all);
        WriteBytes(EngineFile, lines);
        std::filesystem::resize_file(PathOf(EngineFile), size);
        prompt.Shown.clear();
        if (::fork() == 0) {
            const rlimit limit{std::uintmax_t{256} << 20, std::uintmax_t{256} << 20};
            ::setrlimit(RLIMIT_AS, &limit);
            LoadEngines(rows, prompt);
            const PromptMessage box{"LoadEngines()", loadError + "The file is too large",
                                    PromptIcon::Critical, PromptButtons::Ok};
            ::_exit(rows.Count() == 0 && prompt.Shown == Boxes{box} ? 0 : 1);
        }
        int status = -1;
        ::wait(&status);
        EXPECT_TRUE(status == 0 && std::filesystem::file_size(PathOf(EngineFile)) == size) << size;
    }
#endif
}

// Remove asks (rows bottom first) only when there are rows, and removes and saves only on Yes, even with
// nothing selected: the file is removed first, so only a save brings it back. Restore asks too.
TEST_F(EngineList, RemoveSelectedAndRestoreAskFirstAndActOnlyOnYes) {
    const std::tuple<std::string, std::vector<std::size_t>, PromptAnswer, std::string> cases[] = {
        {"abcdef", {5, 2}, PromptAnswer::Yes, "acdf"},
        {"ab", {1}, PromptAnswer::No, "ab"},
        {"a", {}, PromptAnswer::Yes, "a"},
        {"", {}, PromptAnswer::Yes, ""}};
    for (const auto& [list, selected, answer, left] : cases) {
        Load(list);
        std::filesystem::remove(PathOf(EngineFile));
        prompt.Shown.clear();
        prompt.Answers = {answer};
        RemoveSelectedEngines(rows, selected, prompt);
        EXPECT_EQ(Shown(), List(left, true));
        EXPECT_EQ(prompt.Shown.size(), list.empty() ? 0u : 1u);
        const bool saved = !list.empty() && answer == PromptAnswer::Yes;
        EXPECT_EQ(std::filesystem::exists(PathOf(EngineFile)) ? ReadBytes(EngineFile) : "none",
                  saved ? List(left) : "none");
    }
    Load("abc");
    prompt.Answers = {PromptAnswer::No, PromptAnswer::No, PromptAnswer::Yes};
    RemoveSelectedEngines(rows, {1, 3}, prompt);
    WriteBytes(DefaultEngineFile, List("de"));
    RestoreDefaultEngines(rows, prompt);
    EXPECT_EQ(Shown() + ReadBytes(EngineFile), List("abc", true) + List("abc"));
    RestoreDefaultEngines(rows, prompt);
    EXPECT_EQ(Shown() + ReadBytes(EngineFile), List("de", true) + List("de"));
    const PromptMessage question{
        "Restore Search Engines",
        "This will restore your list of search engines back\r\nto the default list that "
        "came with IE Vantrel.\r\n\r\nDo you really want to do this?",
        PromptIcon::Question, PromptButtons::YesNo};
    EXPECT_EQ(prompt.Shown,
              (Boxes{{"Remove Selected Engines",
                      "This will remove the SELECTED search engines,\r\nand not the CHECKED ones. Do "
                      "you want to remove\r\nthe following search engines?\r\n\r\nc\r\na",
                      PromptIcon::Question, PromptButtons::YesNo},
                     question,
                     question}));
}

// A new row comes checked; an edited row keeps its check box; a TAB or line break is refused.
TEST_F(EngineList, OkayAddsOrRewritesARowAndSavesOrRefusesALineBreak) {
    Load("");
    EXPECT_TRUE(AcceptEngine(rows, {0, 0, "", "", "Add"}, prompt));
    rows.SetChecked(1, false);
    EXPECT_TRUE(AcceptEngine(rows, {0, 1, "b", "u", "Add"}, prompt));
    EXPECT_TRUE(AcceptEngine(rows, {1, 1, "a", "http://new/%s", "Edit"}, prompt));
    for (const EngineEdit& edit : {EngineEdit{0, 0, "g\th", "u", "Add"}, EngineEdit{1, 1, "g", "u\r", "Edit"},
                                   EngineEdit{1, 1, "g", "u\nv", "Edit"}}) {
        EXPECT_FALSE(AcceptEngine(rows, edit, prompt));
        EXPECT_EQ(prompt.Shown.back(),
                  (PromptMessage{edit.Caption, "A prefix or URL cannot contain a TAB or a line break.",
                                 PromptIcon::Exclamation, PromptButtons::Ok}));
    }
    EXPECT_EQ(prompt.Shown.size(), 3U);
    EXPECT_EQ(Shown() + ReadBytes(EngineFile),
              "a http://new/%s-\nb u\nPREFIX=a\tURL=http://new/%s\r\nPREFIX=b\tURL=u\r\n");
}

// The default list that ships beside the program: canonical lines, distinct short prefixes, https addresses.
TEST(DefaultList, HoldsCanonicalDistinctSearchEngines) {
    const std::string bytes = ReadBytes(VANTREL_DEFAULT_LIST);
    VectorEngineRows rows;
    rows.AddMany(ParseEngineList(bytes));
    EXPECT_TRUE(rows.Count() >= 15 && FormatEngineList(rows) == bytes);
    std::set<std::string> prefixes;
    for (const EngineRow& row : ParseEngineList(bytes)) {
        EXPECT_TRUE(prefixes.insert(row.Text).second && !row.Text.empty() && row.Text.size() <= 4 &&
                    row.SubItem1.starts_with("https://") && row.SubItem1.find("%s") != std::string::npos)
            << row.Text;
    }
}

} // namespace
