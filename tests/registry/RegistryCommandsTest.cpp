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

TEST_F(RegistryCommandsTest, SearchFixWritesOnlyWhenAnsweredYesAndSaysSo) {
    const PromptMessage applied{
        "IE Search Fix", "The fix has been applied.\r\nIf searching still doesn't work, then try restarting.",
        PromptIcon::Information, PromptButtons::Ok};
    prompt.Answers = {PromptAnswer::No, PromptAnswer::Yes};

    SearchFixCommand(Store(), prompt);
    EXPECT_FALSE(Store().KeyExists(User, "Software\\Microsoft\\Internet Explorer\\Main"));
    SearchFixCommand(Store(), prompt);

    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage>{SearchFixQuestion, SearchFixQuestion, applied}));
    EXPECT_EQ(Store().QueryValue(User, "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes", "ftp"),
              (RegValue{RegType::String, "ftp://"}));
}

#ifndef _WIN32
// A store file that cannot be parsed: each command says why instead of claiming success.
TEST_F(RegistryCommandsTest, FailuresOnAnUnreadableStoreAreReportedWithTheirReason) {
    std::filesystem::create_directories(ConfigFolder().Path() / "ievantrel");
    ASSERT_TRUE(ReplaceFileAtomically(ConfigFolder().File("ievantrel/HKEY_CURRENT_USER.reg"),
                                      "this is not a registry file\r\n")
                    .ok());
    prompt.Answers = {PromptAnswer::Yes};

    RemoveShortcutsCommand(Store(), prompt);
    SearchFixCommand(Store(), prompt);

    ASSERT_EQ(prompt.Shown.size(), 3U);
    const std::string removeLead = "The search shortcuts could not be removed.\r\n\r\nBecause: ";
    const PromptMessage& removal = prompt.Shown[0];
    EXPECT_EQ(removal,
              (PromptMessage{"Remove Shortcuts", removal.Text, PromptIcon::Exclamation, PromptButtons::Ok}));
    EXPECT_TRUE(removal.Text.starts_with(removeLead) && removal.Text.size() > removeLead.size())
        << removal.Text;

    const PromptMessage& fix = prompt.Shown[2];
    EXPECT_EQ(fix, (PromptMessage{"IE Search Fix", fix.Text, PromptIcon::Exclamation, PromptButtons::Ok}));
    EXPECT_TRUE(fix.Text.starts_with("The fix could not be applied completely.\r\n\r\n"
                                     "Not written: Software\\Microsoft\\Internet Explorer\\Main\\"
                                     "Do404Search-DELME\r\n"))
        << fix.Text;
    EXPECT_NE(
        fix.Text.find("\r\nNot written: Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes\\http"
                      "\r\n\r\nBecause: "),
        std::string::npos)
        << fix.Text;
    EXPECT_EQ(fix.Text.find("\\\\"), std::string::npos) << fix.Text;
}
#endif
