#include "engines/EngineCommands.h"

#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "engines/modGUI.h"
#include "platform/AtomicFile.h"
#include "startup/AppPaths.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class ButtonState final : public ListButtons {
public:
    void SetEditSearchEngineEnabled(bool enabled) override { Edit = enabled; }
    void SetRemoveSearchEngineEnabled(bool enabled) override { Remove = enabled; }
    void SetInstallShortcutsEnabled(bool enabled) override { Install = enabled; }
    bool AllEnabled() const { return Edit && Remove && Install; }
    bool NoneEnabled() const { return !Edit && !Remove && !Install; }

    bool Edit = false;
    bool Remove = false;
    bool Install = false;
};

std::string FileText(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes).ok()) << path;
    return bytes;
}

// An application folder of its own, with a list file of the given engines loaded into the rows.
class EngineCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { InitGlobalsForExecutable(folder.File("ievantrel")); }

    void LoadList(const std::vector<std::string>& prefixes) {
        std::string bytes;
        for (const auto& prefix : prefixes) {
            bytes += "PREFIX=" + prefix + "\tURL=http://" + prefix + ".example/?q=%s\r\n";
        }
        ASSERT_TRUE(ReplaceFileAtomically(EngineFile, bytes).ok());
        LoadEngines(rows, prompt);
        UpdateButtons(rows, buttons);
    }

    // A folder that is not empty where the list file should be: no save can replace it, not even as root.
    void BlockTheListFile() {
        std::filesystem::remove(EngineFile);
        std::filesystem::create_directory(EngineFile);
        ASSERT_TRUE(ReplaceFileAtomically(EngineFile + "/inside", "x").ok());
    }

    std::vector<std::string> Prefixes() const {
        std::vector<std::string> prefixes;
        for (std::size_t i = 1; i <= rows.Count(); ++i) {
            prefixes.push_back(rows.Row(i).Text);
        }
        return prefixes;
    }

    TempFolder folder;
    VectorEngineRows rows;
    ButtonState buttons;
    RecordingPrompt prompt;
};

const std::string RemovalLead = "This will remove the SELECTED search engines,\r\n"
                                "and not the CHECKED ones. Do you want to remove\r\n"
                                "the following search engines?\r\n";

} // namespace

TEST_F(EngineCommandsTest, RemoveSelectedListsTheSelectionBottomFirstAndKeepsTheRestInOrder) {
    LoadList({"a", "b", "c", "d", "e", "f"});
    rows.SetChecked(5, false);
    prompt.Answers = {PromptAnswer::Yes};

    RemoveSelectedEngines(rows, {2, 5}, buttons, prompt);

    ASSERT_EQ(prompt.Shown.size(), 1U);
    EXPECT_EQ(prompt.Shown[0], (PromptMessage{"Remove Selected Engines", RemovalLead + "\r\ne\r\nb",
                                              PromptIcon::Question, PromptButtons::YesNo}));
    EXPECT_EQ(Prefixes(), (std::vector<std::string>{"a", "c", "d", "f"}));
    EXPECT_EQ(FileText(EngineFile),
              "PREFIX=a\tURL=http://a.example/?q=%s\r\nPREFIX=c\tURL=http://c.example/?q=%s\r\n"
              "PREFIX=d\tURL=http://d.example/?q=%s\r\nPREFIX=f\tURL=http://f.example/?q=%s\r\n");
}

TEST_F(EngineCommandsTest, RemoveSelectedAnsweredNoChangesNothing) {
    LoadList({"a", "b"});
    std::filesystem::remove(EngineFile);
    prompt.Answers = {PromptAnswer::No};

    RemoveSelectedEngines(rows, {1}, buttons, prompt);

    EXPECT_EQ(Prefixes(), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(std::filesystem::exists(EngineFile));
}

TEST_F(EngineCommandsTest, RemoveSelectedWithNothingSelectedAsksWithNoNamesAndRewritesTheFile) {
    LoadList({"a"});
    std::filesystem::remove(EngineFile);
    prompt.Answers = {PromptAnswer::Yes};

    RemoveSelectedEngines(rows, {}, buttons, prompt);

    ASSERT_EQ(prompt.Shown.size(), 1U);
    EXPECT_EQ(prompt.Shown[0].Text, RemovalLead);
    EXPECT_EQ(FileText(EngineFile), "PREFIX=a\tURL=http://a.example/?q=%s\r\n");
    EXPECT_TRUE(buttons.AllEnabled());
}

TEST_F(EngineCommandsTest, RemoveSelectedOnAnEmptyListAsksNothing) {
    RemoveSelectedEngines(rows, {}, buttons, prompt);
    EXPECT_TRUE(prompt.Shown.empty());
}

TEST_F(EngineCommandsTest, RemovingEveryRowDisablesTheButtonsAndEmptiesTheFile) {
    LoadList({"a", "b"});
    prompt.Answers = {PromptAnswer::Yes};

    RemoveSelectedEngines(rows, {1, 2}, buttons, prompt);

    EXPECT_EQ(rows.Count(), 0U);
    EXPECT_TRUE(buttons.NoneEnabled());
    EXPECT_EQ(FileText(EngineFile), "");
}

TEST_F(EngineCommandsTest, AFailedSaveAfterRemovalIsReportedAndTheRowsStay) {
    LoadList({"a", "b"});
    BlockTheListFile();
    prompt.Answers = {PromptAnswer::Yes};

    RemoveSelectedEngines(rows, {1}, buttons, prompt);

    ASSERT_EQ(prompt.Shown.size(), 2U);
    EXPECT_EQ(prompt.Shown[1].Title, "SaveEngines()");
    EXPECT_EQ(Prefixes(), (std::vector<std::string>{"b"}));
    EXPECT_TRUE(std::filesystem::is_directory(EngineFile));
}

TEST_F(EngineCommandsTest, RestoreAsksAndOnYesReloadsTheDefaultList) {
    LoadList({"a", "b"});
    rows.SetChecked(1, false);
    ASSERT_TRUE(ReplaceFileAtomically(DefaultEngineFile, "PREFIX=z\tURL=http://z.example/?q=%s\r\n").ok());
    prompt.Answers = {PromptAnswer::No, PromptAnswer::Yes};

    RestoreDefaultEngines(rows, buttons, prompt);
    EXPECT_EQ(Prefixes(), (std::vector<std::string>{"a", "b"}));
    RestoreDefaultEngines(rows, buttons, prompt);

    const PromptMessage question{"Restore Search Engines",
                                 "This will restore your list of search engines back\r\n"
                                 "to the default list that came with IE Vantrel.\r\n\r\n"
                                 "Do you really want to do this?",
                                 PromptIcon::Question, PromptButtons::YesNo};
    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage>{question, question}));
    EXPECT_EQ(Prefixes(), (std::vector<std::string>{"z"}));
    EXPECT_TRUE(rows.Row(1).Checked);
    EXPECT_EQ(FileText(EngineFile), "PREFIX=z\tURL=http://z.example/?q=%s\r\n");
}

TEST_F(EngineCommandsTest, EngineFieldsComeFromTheRecordLineNotTheColumns) {
    const EngineRow row{"shown", "shown-url", "URL=http://g.example/?q=%s\tPREFIX=g", true};
    const EngineFields fields = EngineFieldsOf(row);
    EXPECT_EQ(fields.Prefix, "g");
    EXPECT_EQ(fields.Url, "http://g.example/?q=%s");
}

TEST_F(EngineCommandsTest, OkayWhileAddingAppendsACheckedRowAndSaves) {
    LoadList({"a"});
    rows.SetChecked(1, false);

    EXPECT_TRUE(AcceptEngine(rows, {0, 1, "", "", "Add New Search Engine"}, buttons, prompt));

    EXPECT_TRUE(prompt.Shown.empty());
    ASSERT_EQ(rows.Count(), 2U);
    EXPECT_EQ(rows.Row(2), (EngineRow{"", "", "PREFIX=\tURL=", true}));
    EXPECT_EQ(FileText(EngineFile), "PREFIX=a\tURL=http://a.example/?q=%s\r\nPREFIX=\tURL=\r\n");
}

TEST_F(EngineCommandsTest, OkayWhileEditingRewritesTheCurrentRowInPlaceKeepingItsCheckBox) {
    LoadList({"a", "b", "c"});
    rows.SetChecked(2, false);

    EXPECT_TRUE(
        AcceptEngine(rows, {1, 2, "b", "http://new.example/%s", "Edit Search Engine"}, buttons, prompt));

    EXPECT_EQ(rows.Row(2),
              (EngineRow{"b", "http://new.example/%s", "PREFIX=b\tURL=http://new.example/%s", false}));
    EXPECT_EQ(Prefixes(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(FileText(EngineFile),
              "PREFIX=a\tURL=http://a.example/?q=%s\r\nPREFIX=b\tURL=http://new.example/%s\r\n"
              "PREFIX=c\tURL=http://c.example/?q=%s\r\n");
}

TEST_F(EngineCommandsTest, OkayAfterAddingToAnEmptyListEnablesTheButtons) {
    LoadList({});
    ASSERT_TRUE(buttons.NoneEnabled());
    EXPECT_TRUE(AcceptEngine(rows, {0, 0, "g", "u", "Add New Search Engine"}, buttons, prompt));
    EXPECT_TRUE(buttons.AllEnabled());
}

TEST_F(EngineCommandsTest, OkayRefusesATabOrALineBreakAndChangesNothing) {
    LoadList({"a"});
    const std::vector<EngineEdit> refused{{0, 0, "g\th", "u", "Add New Search Engine"},
                                          {1, 1, "g", "u\r", "Edit Search Engine"},
                                          {1, 1, "g", "u\nv", "Edit Search Engine"}};
    for (const EngineEdit& edit : refused) {
        EXPECT_FALSE(AcceptEngine(rows, edit, buttons, prompt));
        ASSERT_FALSE(prompt.Shown.empty());
        EXPECT_EQ(prompt.Shown.back(),
                  (PromptMessage{edit.Caption, "A prefix or URL cannot contain a TAB or a line break.",
                                 PromptIcon::Exclamation, PromptButtons::Ok}));
    }
    EXPECT_EQ(prompt.Shown.size(), 3U);
    EXPECT_EQ(Prefixes(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(FileText(EngineFile), "PREFIX=a\tURL=http://a.example/?q=%s\r\n");
}

TEST_F(EngineCommandsTest, AFailedSaveOnOkayIsReportedTheRowStaysAndTheEditorCloses) {
    LoadList({"a"});
    BlockTheListFile();

    const bool closes = AcceptEngine(rows, {0, 0, "g", "u", "Add New Search Engine"}, buttons, prompt);

    EXPECT_TRUE(closes);
    ASSERT_EQ(prompt.Shown.size(), 1U);
    EXPECT_EQ(prompt.Shown[0].Title, "SaveEngines()");
    EXPECT_EQ(Prefixes(), (std::vector<std::string>{"a", "g"}));
    EXPECT_TRUE(std::filesystem::is_directory(EngineFile));
}
