#include "registry/RegistryCommands.h"

#include "UserRegistryTest.h"
#include "platform/AtomicFile.h"
#include "registry/modCore.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

constexpr RegRoot User = RegRoot::CurrentUser;
constexpr const char* SearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";

const PromptMessage SearchFixQuestion{"IE Search Fix",
                                      "Some installations of Internet Explorer cease to allow searching\r\n"
                                      "from the address bar when anti-virus or spyware-removal tools\r\n"
                                      "are used. Use this to fix the problem.\r\n"
                                      "\r\n"
                                      "As is standard procedure with software that modifies the registry,\r\n"
                                      "replying Yes is entirely at your own risk.\r\n"
                                      "\r\n"
                                      "Do you want to apply this fix?",
                                      PromptIcon::Question, PromptButtons::YesNo};

class RegistryCommandsTest : public UserRegistryTest {
protected:
#ifndef _WIN32
    // A store file that cannot be parsed: the store refuses to touch it.
    void SpoilTheStore() {
        std::filesystem::create_directories(ConfigFolder().Path() / "ievantrel");
        ASSERT_TRUE(ReplaceFileAtomically(ConfigFolder().File("ievantrel/HKEY_CURRENT_USER.reg"),
                                          "this is not a registry file\r\n")
                        .ok());
    }
#endif

    RecordingPrompt prompt;
};

} // namespace

TEST_F(RegistryCommandsTest, RemoveDeletesEveryShortcutAndSaysSo) {
    ASSERT_TRUE(InstallShortcut(Store(), "g", "http://g.example/?q=%s").ok());

    RemoveShortcutsCommand(Store(), prompt);

    EXPECT_FALSE(Store().KeyExists(User, SearchUrl));
    EXPECT_EQ(prompt.Shown,
              (std::vector<PromptMessage>{{"Remove Shortcuts", "All search shortcuts have been removed.",
                                           PromptIcon::Information, PromptButtons::Ok}}));
}

TEST_F(RegistryCommandsTest, SearchFixAnsweredNoWritesNothing) {
    prompt.Answers = {PromptAnswer::No};

    SearchFixCommand(Store(), prompt);

    EXPECT_EQ(prompt.Shown, std::vector<PromptMessage>{SearchFixQuestion});
    EXPECT_FALSE(Store().KeyExists(User, "Software\\Microsoft\\Internet Explorer\\Main"));
}

TEST_F(RegistryCommandsTest, SearchFixAnsweredYesWritesTheSettingsAndSaysSo) {
    prompt.Answers = {PromptAnswer::Yes};

    SearchFixCommand(Store(), prompt);

    const PromptMessage applied{
        "IE Search Fix", "The fix has been applied.\r\nIf searching still doesn't work, then try restarting.",
        PromptIcon::Information, PromptButtons::Ok};
    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage>{SearchFixQuestion, applied}));
    EXPECT_EQ(Store().QueryValue(User, "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes", "ftp"),
              (RegValue{RegType::String, "ftp://"}));
}

#ifndef _WIN32
TEST_F(RegistryCommandsTest, AFailedRemovalSaysWhyInsteadOfClaimingSuccess) {
    SpoilTheStore();

    RemoveShortcutsCommand(Store(), prompt);

    ASSERT_EQ(prompt.Shown.size(), 1U);
    const PromptMessage& box = prompt.Shown[0];
    EXPECT_EQ(box.Title, "Remove Shortcuts");
    EXPECT_EQ(box.Icon, PromptIcon::Exclamation);
    EXPECT_EQ(box.Buttons, PromptButtons::Ok);
    EXPECT_TRUE(box.Text.starts_with("The search shortcuts could not be removed.\r\n\r\nBecause: "))
        << box.Text;
    EXPECT_GT(box.Text.size(),
              std::string("The search shortcuts could not be removed.\r\n\r\nBecause: ").size());
}

TEST_F(RegistryCommandsTest, AFailedSearchFixNamesEveryValueNotWritten) {
    SpoilTheStore();
    prompt.Answers = {PromptAnswer::Yes};

    SearchFixCommand(Store(), prompt);

    ASSERT_EQ(prompt.Shown.size(), 2U);
    const PromptMessage& box = prompt.Shown[1];
    EXPECT_EQ(box.Title, "IE Search Fix");
    EXPECT_EQ(box.Icon, PromptIcon::Exclamation);
    EXPECT_EQ(box.Buttons, PromptButtons::Ok);
    const std::string lead = "The fix could not be applied completely.\r\n\r\n";
    EXPECT_TRUE(box.Text.starts_with(lead + "Not written: Software\\Microsoft\\Internet Explorer\\Main\\"
                                            "Do404Search-DELME\r\n"))
        << box.Text;
    EXPECT_NE(
        box.Text.find("\r\nNot written: Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes\\http"
                      "\r\n\r\nBecause: "),
        std::string::npos)
        << box.Text;
    EXPECT_EQ(box.Text.find("\\\\"), std::string::npos) << box.Text;
}
#endif
