#include "registry/RegistryCommands.h"

#include "UserRegistryTest.h"
#include "platform/AtomicFile.h"
#include "registry/modCore.h"
#include "support/RecordingPrompt.h"
#include "support/SearchFixValues.h"

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
// A store file that cannot be parsed: each command says why, naming every step of the fix not written.
TEST_F(RegistryCommandsTest, FailuresOnAnUnreadableStoreAreReportedWithTheirReason) {
    const std::string path = ConfigFolder().File("ievantrel/HKEY_CURRENT_USER.reg");
    std::filesystem::create_directories(ConfigFolder().Path() / "ievantrel");
    ASSERT_TRUE(ReplaceFileAtomically(path, "this is not a registry file\r\n").ok());
    prompt.Answers = {PromptAnswer::Yes};

    RemoveShortcutsCommand(Store(), prompt);
    SearchFixCommand(Store(), prompt);

    const std::string because =
        "\r\n\r\nBecause: The registry file \"" + path +
        "\" cannot be read: line 1: the header \"Windows Registry Editor Version 5.00\" "
        "is missing.";
    std::string notWritten = "The fix could not be applied completely.\r\n";
    for (const auto& [key, name, value] : SearchFixValues()) {
        notWritten += "\r\nNot written: " + key + (key.ends_with('\\') ? "" : "\\") + name;
    }
    EXPECT_EQ(prompt.Shown,
              (std::vector<PromptMessage>{
                  {"Remove Shortcuts", "The search shortcuts could not be removed." + because,
                   PromptIcon::Exclamation, PromptButtons::Ok},
                  SearchFixQuestion,
                  {"IE Search Fix", notWritten + because, PromptIcon::Exclamation, PromptButtons::Ok}}));
}
#endif
