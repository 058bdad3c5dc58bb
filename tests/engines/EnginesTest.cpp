#include "engines/EngineCommands.h"
#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "engines/modGUI.h"
#include "engines/modParse.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<EngineRow>;
using Prefixes = std::vector<std::string>;
using Boxes = std::vector<PromptMessage>;

EngineRow Row(const std::string& prefix, const std::string& url) {
    return {prefix, url, MakeRecordLine(prefix, url), true};
}

TEST(RecordLine, SplitsAtEveryDelimiterAndReadsExactFieldNames) {
    const struct {
        std::string_view text, delimiter;
        std::vector<std::string> pieces;
    } splits[] = {
        {"a\t\tb", "\t", {"a", "", "b"}},
        {"", "\t", {""}},
        {"\ta\t", "\t", {"", "a", ""}},
        {"a\tb", "", {"a\tb"}},
        {"aaaaa", "aa", {"", "", "a"}},
        {"xABxabx", "ab", {"xABx", "x"}},
        {std::string_view("a\0b", 3), std::string_view("\0", 1), {"a", "b"}},
    };
    for (const auto& [text, delimiter, pieces] : splits) {
        EXPECT_EQ(SplitString(text, delimiter), pieces) << text;
    }
    // A first field without "=" hides the whole line; an empty line reads empty, not the default.
    const struct {
        std::string line, key, expected;
    } fields[] = {
        {"PREFIX=g\tURL=u=v", "URL", "u=v"},
        {"URL=u\tPREFIX= g ", "PREFIX", " g "},
        {"PREFIX=g\tNAME=x\tURL=u", "URL", "u"},
        {"prefix=g\tURL=u", "PREFIX", "none"},
        {"PREFIX =g\tURL=u", "PREFIX", "none"},
        {"PREFIX=first\tPREFIX=second", "PREFIX", "first"},
        {"PREFIX=\tPREFIX=2", "PREFIX", "none"},
        {"junk\tPREFIX=g", "PREFIX", "none"},
        {"\tURL=u", "URL", "none"},
        {"    ", "PREFIX", "none"},
        {"", "PREFIX", ""},
    };
    for (const auto& [line, key, expected] : fields) {
        EXPECT_EQ(GetField(line, key, "\t", "=", "none"), expected) << line << " key " << key;
    }
    EXPECT_EQ(MakeRecordLine("w\xE9", "https://e/?q=%s"), "PREFIX=w\xE9\tURL=https://e/?q=%s");
    EXPECT_EQ(EngineFieldsOf({"shown", "shown", "URL=http://g/\tPREFIX=g", true}).Url, "http://g/");
}

// Each test has an application folder of its own holding both list files.
class EngineListFile : public ::testing::Test {
protected:
    void SetUp() override { InitGlobalsForExecutable(folder.File("ievantrel")); }
    Rows All() const {
        Rows all;
        for (std::size_t i = 1; i <= rows.Count(); ++i) {
            all.push_back(rows.Row(i));
        }
        return all;
    }
    void LoadList(const Prefixes& prefixes) {
        WriteBytes(EngineFile, List(prefixes));
        LoadEngines(rows, prompt);
    }
    static std::string List(const Prefixes& prefixes) {
        std::string bytes;
        for (const auto& prefix : prefixes) {
            bytes += "PREFIX=" + prefix + "\tURL=u" + prefix + "\r\n";
        }
        return bytes;
    }

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
    const std::string huge(10 << 20, 'x');
    const std::vector<std::pair<std::string, Rows>> cases = {
        {"PREFIX=a\tURL=1\r\n\r\nPREFIX=b\tURL=2\rPREFIX=c\tURL=3\nPREFIX=x\r\n   "
         "\r\nURL=5\tPREFIX=e\tNAME=n\r\r"
         "PREFIX=f\tURL=6\rjunk\tPREFIX=q",
         {Row("a", "1"), Row("b", "2"), Row("c", "3\nPREFIX=x"), Row("", ""), Row("e", "5"), Row("f", "6"),
          Row("", "")}},
        {"\xEF\xBB\xBFPREFIX=g\tURL=u\r\n\xEF\xBB\xBFPREFIX=h\tURL=v\r\n", {Row("g", "u"), Row("", "v")}},
        {"", {}},
        {everyByteFile, everyByte},
        {"PREFIX=h\tURL=" + huge, {Row("h", huge)}},
    };
    for (const auto& [bytes, expected] : cases) {
        WriteBytes(EngineFile, bytes);
        AddEngineRow(rows, "stale", "row");
        LoadEngines(rows, prompt);
        ASSERT_EQ(All(), expected) << bytes.substr(0, 100);
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

// A missing list and a folder in its place load no rows, are reported, and close what they opened.
TEST_F(EngineListFile, AListThatCannotBeReadIsReported) {
    const auto box = [](const std::string& error) {
        return PromptMessage{"LoadEngines()",
                             "Error while trying to load search engines.\r\n\r\nsBuffer: \r\nError: " + error,
                             PromptIcon::Critical, PromptButtons::Ok};
    };
    std::string ignored;
    AddEngineRow(rows, "stale", "row");
    LoadEngines(rows, prompt);
    Boxes expected{box(ReadWholeFile(EngineFile, ignored).description())};
    std::filesystem::create_directory(EngineFile);
#ifdef __linux__
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto before = openFiles();
    LoadEngines(rows, prompt);
    EXPECT_EQ(openFiles(), before);
#else
    LoadEngines(rows, prompt);
#endif
    expected.push_back(box(ReadWholeFile(EngineFile, ignored).description()));
    EXPECT_EQ(rows.Count(), 0U);
    EXPECT_EQ(prompt.Shown, expected);
}

// A read-only list is neither saved over nor restored over: both say why and keep the file and the rows.
TEST_F(EngineListFile, AFailedSaveOrRestoreKeepsTheOldListAndSaysWhy) {
    LoadList({"old"});
    WriteBytes(DefaultEngineFile, List({"d", "w"}));
    std::filesystem::permissions(EngineFile, std::filesystem::perms::owner_read);
    const std::string denied = ReplaceFileAtomically(EngineFile, "x").description();
    EXPECT_FALSE(SaveEngines(rows, prompt));
    EXPECT_FALSE(RestoreEngines(rows, prompt));
    EXPECT_EQ(ReadBytes(EngineFile), List({"old"}));
    EXPECT_EQ(All(), Rows{Row("old", "uold")});
    EXPECT_EQ(
        prompt.Shown,
        (Boxes{
            {"SaveEngines()",
             "Error while trying to save search engines.\r\n\r\nFile: " + EngineFile + "\r\nError: " + denied,
             PromptIcon::Exclamation, PromptButtons::Ok},
            {"Error Restoring Engines",
             "There was an error while trying to restore the engines file.\r\n\r\nTrying to copy this: " +
                 DefaultEngineFile + "\r\nTo this: " + EngineFile + "\r\nBecause: " + denied,
             PromptIcon::Exclamation, PromptButtons::Ok}}));
}

// Rows left and whether the list was saved: the file is removed first, so only a save brings it back.
TEST_F(EngineListFile, RemoveSelectedAsksOnlyWhenThereAreRowsAndSavesOnlyOnYes) {
    const struct {
        Prefixes list;
        std::vector<std::size_t> selected;
        PromptAnswer answer;
        Prefixes left;
    } cases[] = {
        {{"a", "b", "c", "d", "e", "f"}, {5, 2}, PromptAnswer::Yes, {"a", "c", "d", "f"}},
        {{"a", "b"}, {1}, PromptAnswer::No, {"a", "b"}},
        {{"a"}, {}, PromptAnswer::Yes, {"a"}},
        {{}, {}, PromptAnswer::Yes, {}},
        {{"a", "b"}, {1, 2}, PromptAnswer::Yes, {}},
    };
    for (const auto& [list, selected, answer, left] : cases) {
        LoadList(list);
        std::filesystem::remove(EngineFile);
        prompt.Shown.clear();
        prompt.Answers = {answer};
        RemoveSelectedEngines(rows, selected, prompt);
        Prefixes shown;
        for (const EngineRow& row : All()) {
            shown.push_back(row.Text);
        }
        EXPECT_EQ(shown, left);
        EXPECT_EQ(prompt.Shown.size(), list.empty() ? 0u : 1u);
        const bool saved = !list.empty() && answer == PromptAnswer::Yes;
        EXPECT_EQ(std::filesystem::exists(EngineFile) ? ReadBytes(EngineFile) : "(none)",
                  saved ? List(left) : "(none)");
    }
    LoadList({"a", "b", "c"});
    prompt.Answers = {PromptAnswer::No};
    RemoveSelectedEngines(rows, {1, 3}, prompt);
    EXPECT_EQ(prompt.Shown.back(),
              (PromptMessage{"Remove Selected Engines",
                             "This will remove the SELECTED search engines,\r\nand not the "
                             "CHECKED ones. Do you want to remove\r\nthe following search "
                             "engines?\r\n\r\nc\r\na",
                             PromptIcon::Question, PromptButtons::YesNo}));
}

TEST_F(EngineListFile, RestoreAsksFirstAndCopiesTheDefaultListOnlyOnYes) {
    const PromptMessage question{"Restore Search Engines",
                                 "This will restore your list of search engines back\r\nto the default list "
                                 "that came with IE Vantrel.\r\n\r\nDo you really want to do this?",
                                 PromptIcon::Question, PromptButtons::YesNo};
    LoadList({"a"});
    WriteBytes(DefaultEngineFile, List({"d", "e"}));
    prompt.Answers = {PromptAnswer::No, PromptAnswer::Yes};
    RestoreDefaultEngines(rows, prompt);
    EXPECT_EQ(All(), Rows{Row("a", "ua")});
    EXPECT_EQ(ReadBytes(EngineFile), List({"a"}));
    RestoreDefaultEngines(rows, prompt);
    EXPECT_EQ(All(), (Rows{Row("d", "ud"), Row("e", "ue")}));
    EXPECT_EQ(ReadBytes(EngineFile), List({"d", "e"}));
    EXPECT_EQ(prompt.Shown, (Boxes{question, question}));
}

// A new row comes checked; an edited row keeps its check box; a TAB or line break is refused, changing
// nothing.
TEST_F(EngineListFile, OkayAddsOrRewritesARowAndSavesOrRefusesALineBreak) {
    LoadList({});
    EXPECT_TRUE(AcceptEngine(rows, {0, 0, "", "", "Add New Search Engine"}, prompt));
    rows.SetChecked(1, false);
    EXPECT_TRUE(AcceptEngine(rows, {0, 1, "b", "u", "Add New Search Engine"}, prompt));
    EXPECT_TRUE(AcceptEngine(rows, {1, 1, "a", "http://new/%s", "Edit Search Engine"}, prompt));
    Rows expected{Row("a", "http://new/%s"), Row("b", "u")};
    expected[0].Checked = false;
    EXPECT_EQ(All(), expected);
    EXPECT_EQ(ReadBytes(EngineFile), "PREFIX=a\tURL=http://new/%s\r\nPREFIX=b\tURL=u\r\n");
    for (const EngineEdit& edit :
         {EngineEdit{0, 0, "g\th", "u", "Add New Search Engine"}, EngineEdit{1, 1, "g", "u\r", "Edit"},
          EngineEdit{1, 1, "g", "u\nv", "Edit"}}) {
        EXPECT_FALSE(AcceptEngine(rows, edit, prompt));
        EXPECT_EQ(prompt.Shown.back(),
                  (PromptMessage{edit.Caption, "A prefix or URL cannot contain a TAB or a line break.",
                                 PromptIcon::Exclamation, PromptButtons::Ok}));
    }
    EXPECT_EQ(prompt.Shown.size(), 3U);
    EXPECT_EQ(All(), expected);
}

// The default list that ships beside the program: canonical lines, distinct short prefixes, https addresses.
TEST(DefaultList, HoldsCanonicalDistinctSearchEngines) {
    VectorEngineRows rows;
    const std::string bytes = ReadBytes(VANTREL_DEFAULT_LIST);
    rows.AddMany(ParseEngineList(bytes));
    EXPECT_GE(rows.Count(), 15U);
    EXPECT_EQ(FormatEngineList(rows), bytes);
    std::set<std::string> prefixes;
    for (std::size_t i = 1; i <= rows.Count(); ++i) {
        const EngineRow& row = rows.Row(i);
        EXPECT_TRUE(prefixes.insert(row.Text).second && !row.Text.empty() && row.Text.size() <= 4)
            << row.Text;
        EXPECT_TRUE(row.SubItem1.starts_with("https://") && row.SubItem1.find("%s") != std::string::npos)
            << row.SubItem1;
    }
}

} // namespace
