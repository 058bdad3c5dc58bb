#include "engines/modGUI.h"
#include "engines/VectorEngineRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every enabled state the buttons are given, in call order.
class RecordingButtons final : public ListButtons {
public:
    void SetEditSearchEngineEnabled(bool enabled) override {
        Calls.push_back("edit=" + std::to_string(enabled));
    }
    void SetRemoveSearchEngineEnabled(bool enabled) override {
        Calls.push_back("remove=" + std::to_string(enabled));
    }
    void SetInstallShortcutsEnabled(bool enabled) override {
        Calls.push_back("install=" + std::to_string(enabled));
    }
    std::vector<std::string> Calls;
};

} // namespace

TEST(AddEngineRow, AppendsACheckedRowWhoseTagIsTheRecordLine) {
    VectorEngineRows rows;
    AddEngineRow(rows, "g", "https://g.example/?q=%s");
    rows.SetChecked(1, false);
    AddEngineRow(rows, "", "");

    ASSERT_EQ(rows.Count(), 2U);
    EXPECT_EQ(rows.Row(1),
              (EngineRow{"g", "https://g.example/?q=%s", "PREFIX=g\tURL=https://g.example/?q=%s", false}));
    EXPECT_EQ(rows.Row(2), (EngineRow{"", "", "PREFIX=\tURL=", true}));
}

TEST(UpdateButtons, EnablesTheThreeButtonsExactlyWhenThereAreRows) {
    VectorEngineRows rows;
    RecordingButtons buttons;
    UpdateButtons(rows, buttons);
    AddEngineRow(rows, "g", "u");
    UpdateButtons(rows, buttons);

    EXPECT_EQ(buttons.Calls, (std::vector<std::string>{"edit=0", "remove=0", "install=0", "edit=1",
                                                       "remove=1", "install=1"}));
}
