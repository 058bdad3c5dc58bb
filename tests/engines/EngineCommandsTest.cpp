#include "engines/EngineCommands.h"

#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "platform/AppPaths.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using Prefixes = std::vector<std::string>;

// The list file holding one engine per prefix.
std::string ListBytes(const Prefixes& prefixes) {
    std::string bytes;
    for (const auto& prefix : prefixes) {
        bytes += "PREFIX=" + prefix + "\tURL=http://" + prefix + ".example/?q=%s\r\n";
    }
    return bytes;
}

// An application folder of its own, with a list file of the given engines loaded into the rows.
class EngineCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { InitGlobalsForExecutable(folder.File("ievantrel")); }

    void LoadList(const Prefixes& prefixes) {
        WriteBytes(EngineFile, ListBytes(prefixes));
        LoadEngines(rows, prompt);
    }

    Prefixes Shown() const {
        Prefixes prefixes;
        for (std::size_t i = 1; i <= rows.Count(); ++i) {
            prefixes.push_back(rows.Row(i).Text);
        }
        return prefixes;
    }

    TempFolder folder;
    VectorEngineRows rows;
    RecordingPrompt prompt;
};

} // namespace

// Which rows stay and when the list is saved. The file is removed before each command, so only a command that
// saves brings it back.
TEST_F(EngineCommandsTest, RemoveSelectedAsksOnlyWhenThereAreRowsAndSavesOnlyOnYes) {
    const struct {
        Prefixes list;
        std::vector<std::size_t> selected;
        PromptAnswer answer;
        Prefixes left;
        std::size_t asked;
    } cases[] = {
        {{"a", "b", "c", "d", "e", "f"}, {2, 5}, PromptAnswer::Yes, {"a", "c", "d", "f"}, 1},
        {{"a", "b"}, {1}, PromptAnswer::No, {"a", "b"}, 1},
        {{"a"}, {}, PromptAnswer::Yes, {"a"}, 1},
        {{}, {}, PromptAnswer::Yes, {}, 0},
        {{"a", "b"}, {1, 2}, PromptAnswer::Yes, {}, 1},
    };
    for (const auto& [list, selected, answer, left, asked] : cases) {
        LoadList(list);
        std::filesystem::remove(EngineFile);
        prompt.Shown.clear();
        prompt.Answers = {answer};

        RemoveSelectedEngines(rows, selected, prompt);

        EXPECT_EQ(Shown(), left);
        ASSERT_EQ(prompt.Shown.size(), asked);
        const bool saved = asked == 1 && answer == PromptAnswer::Yes;
        EXPECT_EQ(std::filesystem::exists(EngineFile), saved);
        EXPECT_EQ(ReadBytes(EngineFile), saved ? ListBytes(left) : "");
    }
}

TEST_F(EngineCommandsTest, RemoveSelectedNamesTheSelectedRowsBottomFirst) {
    LoadList({"a", "b", "c"});
    prompt.Answers = {PromptAnswer::No};
    RemoveSelectedEngines(rows, {1, 3}, prompt);
    EXPECT_EQ(prompt.Shown,
              (std::vector<PromptMessage>{
                  {"Remove Selected Engines",
                   "This will remove the SELECTED search engines,\r\nand not the CHECKED ones. Do "
                   "you want to remove\r\nthe following search engines?\r\n\r\nc\r\na",
                   PromptIcon::Question, PromptButtons::YesNo}}));
}

TEST_F(EngineCommandsTest, RestoreAsksFirstAndReplacesTheListOnlyOnYes) {
    const PromptMessage question{"Restore Search Engines",
                                 "This will restore your list of search engines back\r\nto the default list "
                                 "that came with IE Vantrel.\r\n\r\nDo you really want to do this?",
                                 PromptIcon::Question, PromptButtons::YesNo};
    LoadList({"a"});
    WriteBytes(DefaultEngineFile, ListBytes({"d", "e"}));
    prompt.Answers = {PromptAnswer::No, PromptAnswer::Yes};

    RestoreDefaultEngines(rows, prompt);
    EXPECT_EQ(Shown(), Prefixes{"a"});
    EXPECT_EQ(ReadBytes(EngineFile), ListBytes({"a"}));
    RestoreDefaultEngines(rows, prompt);
    EXPECT_EQ(Shown(), (Prefixes{"d", "e"}));
    EXPECT_EQ(ReadBytes(EngineFile), ListBytes({"d", "e"}));
    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage>{question, question}));
}

TEST_F(EngineCommandsTest, EngineFieldsComeFromTheRecordLineNotTheColumns) {
    const EngineFields fields =
        EngineFieldsOf({"shown", "shown-url", "URL=http://g.example/?q=%s\tPREFIX=g", true});
    EXPECT_EQ(fields.Prefix, "g");
    EXPECT_EQ(fields.Url, "http://g.example/?q=%s");
}

// A new row comes checked whatever the current row's check box; an edited row keeps its own.
TEST_F(EngineCommandsTest, OkayAddsACheckedRowOrRewritesTheCurrentOneInPlaceAndSaves) {
    LoadList({});
    EXPECT_TRUE(AcceptEngine(rows, {0, 0, "", "", "Add New Search Engine"}, prompt));
    rows.SetChecked(1, false);
    EXPECT_TRUE(AcceptEngine(rows, {0, 1, "b", "u", "Add New Search Engine"}, prompt));
    EXPECT_TRUE(AcceptEngine(rows, {1, 1, "a", "http://new/%s", "Edit Search Engine"}, prompt));

    EXPECT_TRUE(prompt.Shown.empty());
    EXPECT_EQ(rows.Count(), 2U);
    EXPECT_EQ(rows.Row(1), (EngineRow{"a", "http://new/%s", "PREFIX=a\tURL=http://new/%s", false}));
    EXPECT_EQ(rows.Row(2), (EngineRow{"b", "u", "PREFIX=b\tURL=u", true}));
    EXPECT_EQ(ReadBytes(EngineFile), "PREFIX=a\tURL=http://new/%s\r\nPREFIX=b\tURL=u\r\n");
}

TEST_F(EngineCommandsTest, OkayRefusesATabOrALineBreakAndChangesNothing) {
    LoadList({"a"});
    const std::vector<EngineEdit> refused{{0, 0, "g\th", "u", "Add New Search Engine"},
                                          {1, 1, "g", "u\r", "Edit Search Engine"},
                                          {1, 1, "g", "u\nv", "Edit Search Engine"}};
    for (const EngineEdit& edit : refused) {
        EXPECT_FALSE(AcceptEngine(rows, edit, prompt));
        ASSERT_FALSE(prompt.Shown.empty());
        EXPECT_EQ(prompt.Shown.back(),
                  (PromptMessage{edit.Caption, "A prefix or URL cannot contain a TAB or a line break.",
                                 PromptIcon::Exclamation, PromptButtons::Ok}));
    }
    EXPECT_EQ(prompt.Shown.size(), 3U);
    EXPECT_EQ(Shown(), Prefixes{"a"});
    EXPECT_EQ(ReadBytes(EngineFile), ListBytes({"a"}));
}
