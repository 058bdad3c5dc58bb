// The registry's rules, the installer, the search fix and the commands, on the store the program opens.
#include "UserRegistryTest.h"
#include "engines/VectorEngineRows.h"
#include "engines/modParse.h"
#include "registry/RegistryCommands.h"
#include "registry/SearchFix.h"
#include "registry/Utf16.h"
#include "registry/modCore.h"
#include "registry/modRegistry.h"
#include "support/RecordingPrompt.h"
#include "support/SearchFixValues.h"

#include <algorithm>
#include <string>

namespace {

constexpr RegRoot User = RegRoot::CurrentUser;
const std::string TestKey = "Software\\IEVantrelTest",
                  SearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";
using Names = std::vector<std::string>;

RegValue Text(std::string text) {
    return RegValue{RegType::String, std::move(text)};
}

using RegistryRules = UserRegistryTest;

TEST_F(RegistryRules, ValuesKeysCaseAndDeletionBehaveAsTheRegistrys) {
    RegistryStore& s = Store();
    ASSERT_TRUE(WriteStringValue(s, User, TestKey, "", "http://a/?q=%s").ok());
    ASSERT_TRUE(WriteStringValue(s, User, TestKey, "Empty", "").ok());
    ASSERT_TRUE(WriteBinaryValue(s, User, TestKey, "Binary", 1).ok());
    ASSERT_TRUE(WriteDwordValue(s, User, TestKey, "Negative", -2).ok());
    EXPECT_EQ(s.QueryValue(User, TestKey, ""), Text("http://a/?q=%s"));
    EXPECT_EQ(s.QueryValue(User, TestKey, "Empty"), Text(""));
    EXPECT_EQ(s.QueryValue(User, TestKey, "Missing"), std::nullopt);
    EXPECT_EQ(s.QueryValue(User, TestKey, "Binary"),
              (RegValue{RegType::Binary, std::string("\x01\0\0\0", 4)}));
    EXPECT_EQ(s.QueryValue(User, TestKey, "Negative"), (RegValue{RegType::Dword, "\xFE\xFF\xFF\xFF"}));
    // Parents are made; a trailing backslash names the same key; names keep their first case.
    ASSERT_TRUE(WriteStringValue(s, User, TestKey + "\\Mixed\\Two\\", "Name", "first").ok());
    ASSERT_TRUE(WriteStringValue(s, User, "SOFTWARE\\ievantreltest\\MIXED\\two", "NAME", "second").ok());
    EXPECT_EQ(s.SubKeyNames(User, TestKey), Names{"Mixed"});
    EXPECT_EQ(s.SubKeyNames(User, TestKey + "\\mixed"), Names{"Two"});
    EXPECT_EQ(s.QueryValue(User, TestKey + "\\Mixed\\Two\\", "name"), Text("second"));
    // A key with subkeys is kept; the tree goes whole; what is missing is no failure.
    EXPECT_FALSE(DeleteKey(s, User, TestKey + "\\Mixed").ok());
    EXPECT_TRUE(s.KeyExists(User, TestKey + "\\Mixed\\Two"));
    ASSERT_TRUE(DeleteKey(s, User, TestKey + "\\Mixed\\Two").ok());
    ASSERT_TRUE(DeleteKey(s, User, TestKey + "\\Mixed").ok());
    EXPECT_FALSE(s.KeyExists(User, TestKey + "\\Mixed"));
    ASSERT_TRUE(EnsureKey(s, User, TestKey + "\\A\\B\\").ok());
    ASSERT_TRUE(DeleteKeyTree(s, User, TestKey + "\\A\\").ok());
    EXPECT_EQ(s.SubKeyNames(User, TestKey), Names{});
    EXPECT_TRUE(DeleteKey(s, User, TestKey + "\\Missing").ok());
    EXPECT_TRUE(DeleteKeyTree(s, User, TestKey + "\\Missing\\Deeper").ok());
    // Key names up to 255 characters.
    EXPECT_FALSE(EnsureKey(s, User, TestKey + "\\" + std::string(256, 'k')).description().empty());
    EXPECT_TRUE(EnsureKey(s, User, TestKey + "\\" + std::string(255, 'k')).ok());
}

class Installer : public UserRegistryTest {
protected:
    void Add(const std::string& prefix, const std::string& url, bool checked = true) {
        rows.Add(EngineRow{"", "", MakeRecordLine(prefix, url), checked});
    }
    PromptMessage Install() {
        RecordingPrompt prompt;
        InstallEngines(rows, Store(), prompt);
        EXPECT_EQ(prompt.Shown.size(), 1u);
        return prompt.Shown.at(0);
    }
    // The shortcut's URL and its four escapes, or what is missing.
    void ExpectShortcut(const std::string& prefix, const std::string& url) {
        const std::string key = SearchUrl + (prefix.empty() ? "" : "\\" + prefix);
        std::string found;
        for (const char* name : {"", " ", "%", "&", "+"}) {
            found += Store().QueryValue(User, key, name).value_or(Text("(none)")).Data + "|";
        }
        EXPECT_EQ(found, url + "|+|%25|%26|%2B|") << key;
    }
    Names SubKeys() {
        Names names = Store().SubKeyNames(User, SearchUrl);
        std::ranges::sort(names);
        return names;
    }
    VectorEngineRows rows;
};

TEST_F(Installer, RewritesTheSearchUrlKeyFromTheCheckedRowsAndReportsTheCount) {
    ASSERT_TRUE(InstallShortcut(Store(), "byhand", "http://by-hand/%s").ok());
    Add("g", "http://g/?q=%s");
    Add("off", "http://off/%s", false);
    Add("", "http://empty/%s");
    Add("", "", false);
    Add("Dup", "http://first/%s");
    Add("dUP", "http://second/%s");
    Add("DUP\\", "http://unchecked/%s", false);
    Add("a\\b", "http://nested/%s");
    Add("..\\Escaped", "http://dots/%s");
    Add("noUrl", "");
    EXPECT_EQ(Install(), (PromptMessage{"InstallEngines()", "7 of 10 shortcuts have been installed.",
                                        PromptIcon::Information, PromptButtons::Ok}));
    EXPECT_EQ(SubKeys(), (Names{"..", "Dup", "a", "g", "noUrl"}));
    ExpectShortcut("g", "http://g/?q=%s");
    ExpectShortcut("", "http://empty/%s");
    ExpectShortcut("dup", "http://second/%s");
    ExpectShortcut("a\\b", "http://nested/%s");
    ExpectShortcut("..\\Escaped", "http://dots/%s");
    ExpectShortcut("noUrl", "");
    EXPECT_FALSE(Store().KeyExists(User, "Software\\Microsoft\\Internet Explorer\\Escaped"));
    // Removing the empty prefix keeps the key; removing all deletes it, and again succeeds.
    EXPECT_TRUE(RemoveShortcut(Store(), "").ok());
    EXPECT_TRUE(RemoveShortcut(Store(), "g").ok() && RemoveShortcut(Store(), "g").ok());
    EXPECT_EQ(SubKeys(), (Names{"..", "Dup", "a", "noUrl"}));
    ExpectShortcut("", "http://empty/%s");
    EXPECT_TRUE(RemoveAllShortcuts(Store()).ok() && RemoveAllShortcuts(Store()).ok());
    EXPECT_FALSE(Store().KeyExists(User, SearchUrl));
    rows.Replace({});
    EXPECT_EQ(Install().Text, "0 of 0 shortcuts have been installed.");
    EXPECT_EQ(SubKeys(), Names{});
}

TEST_F(Installer, NamesThePrefixesThatCouldNotBeInstalled) {
    const std::string tooLong(300, 'x');
    Add("good", "http://good/%s");
    Add(tooLong, "http://long/%s");
    Add("unchecked", "http://u/%s", false);
    const PromptMessage box = Install();
    EXPECT_EQ(box.Icon, PromptIcon::Exclamation);
    EXPECT_TRUE(
        box.Text.starts_with("1 of 3 shortcuts have been installed.\r\n\r\nThese shortcuts could not be "
                             "installed:\r\n" +
                             tooLong + "\r\n\r\nBecause: "))
        << box.Text;
    ExpectShortcut("good", "http://good/%s");
}

// The fix writes its twenty values and leaves every other value alone; its command asks and acts only on Yes.
TEST_F(Installer, TheSearchFixWritesItsValuesOnlyOnYesAndLeavesTheRest) {
    const std::string hooks = "Software\\Microsoft\\Internet Explorer\\URLSearchHooks";
    ASSERT_TRUE(InstallShortcut(Store(), "keep", "http://keep/%s").ok());
    ASSERT_TRUE(WriteStringValue(Store(), User, hooks, "{CFBFAE00-17A6-11D0-99CB-00C04FD64497}", "old").ok());
    ASSERT_TRUE(WriteStringValue(Store(), User, hooks, "Other", "stays").ok());
    const PromptMessage question{"IE Search Fix",
                                 "Some installations of Internet Explorer cease to allow searching\r\nfrom "
                                 "the address bar when anti-virus "
                                 "or spyware-removal tools\r\nare used. Use this to fix the "
                                 "problem.\r\n\r\nAs is standard procedure with "
                                 "software that modifies the registry,\r\nreplying Yes is entirely at your "
                                 "own risk.\r\n\r\nDo you want to "
                                 "apply this fix?",
                                 PromptIcon::Question, PromptButtons::YesNo};
    RecordingPrompt prompt;
    prompt.Answers = {PromptAnswer::No, PromptAnswer::Yes};
    SearchFixCommand(Store(), prompt);
    EXPECT_FALSE(Store().KeyExists(User, "Software\\Microsoft\\Internet Explorer\\Main"));
    SearchFixCommand(Store(), prompt);
    EXPECT_EQ(prompt.Shown,
              (std::vector<PromptMessage>{question,
                                          question,
                                          {"IE Search Fix",
                                           "The fix has been applied.\r\nIf searching still doesn't "
                                           "work, then try restarting.",
                                           PromptIcon::Information, PromptButtons::Ok}}));
    for (const auto& [key, name, value] : SearchFixValues()) {
        EXPECT_TRUE(Store().KeyExists(User, key)) << key;
        if (value) {
            EXPECT_EQ(Store().QueryValue(User, key, name), value) << key << "\\" << name;
        }
    }
    EXPECT_EQ(
        Store().QueryValue(User, "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix", ""),
        std::nullopt);
    EXPECT_TRUE(ApplySearchFix(Store()).empty());
    ExpectShortcut("keep", "http://keep/%s");
    EXPECT_EQ(Store().QueryValue(User, hooks, "Other"), Text("stays"));
    RemoveShortcutsCommand(Store(), prompt);
    EXPECT_FALSE(Store().KeyExists(User, SearchUrl));
    EXPECT_EQ(prompt.Shown.back(),
              (PromptMessage{"Remove Shortcuts", "All search shortcuts have been removed.",
                             PromptIcon::Information, PromptButtons::Ok}));
}

// UTF-8 (well-formed or not) to UTF-16LE and back: bytes that are not UTF-8 and unpaired surrogates become
// U+FFFD, one per byte or unit.
TEST(Utf16, ConvertsWellFormedTextAndReplacesEverythingElse) {
    using namespace std::string_literals;
    const std::string bad1 = "\xEF\xBF\xBD", bad2 = bad1 + bad1, bad3 = bad2 + bad1;
    const struct {
        std::string utf8, utf16, back;
    } cases[] = {
        {"a\xC3\xA9\xE2\x82\xAC", "a\0\xE9\0\xAC\x20"s, "a\xC3\xA9\xE2\x82\xAC"},
        {"\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", "\x80\0\xFF\x07\0\x08\xFF\xFF"s,
         "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {"\xF0\x90\x80\x80", "\0\xD8\0\xDC"s, "\xF0\x90\x80\x80"},
        {"\xF4\x8F\xBF\xBF", "\xFF\xDB\xFF\xDF", "\xF4\x8F\xBF\xBF"},
        {"\xEE\x80\x80", "\0\xE0"s, "\xEE\x80\x80"},
        {"\xED\xBF\xBF", "\xFD\xFF\xFD\xFF\xFD\xFF", bad3},
        {"\xF4\x90\x80\x80", "\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF", bad2 + bad2},
        {"\xC1\xBF\xE0\x9F\xBF", "\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF", bad3 + bad2},
        {"\xE2\x82", "\xFD\xFF\xFD\xFF", bad2},
    };
    for (const auto& [utf8, utf16, back] : cases) {
        std::string wide, narrow;
        AppendUtf16Le(utf8, wide);
        AppendUtf8FromUtf16Le(wide, narrow);
        EXPECT_EQ(wide + "|" + narrow, utf16 + "|" + back) << testing::PrintToString(utf8);
        EXPECT_EQ(Utf16Length(utf8), utf16.size() / 2) << testing::PrintToString(utf8);
    }
    // Read from a file: a pair, a lone high surrogate before U+E000, a lone low one, one cut off at the end.
    for (const auto& [utf16, utf8] :
         {std::pair{"\0\xD8\xFF\xDF"s, "\xF0\x90\x8F\xBF"s},
          std::pair{"\0\xD8\0\xE0"s, bad1 + "\xEE\x80\x80"},
          std::pair{"\xFF\xDB\xFF\xDB\0\xDC"s, bad1 + "\xF4\x8F\xB0\x80"},
          std::pair{"\0\xDCx\0"s, bad1 + "x"}, std::pair{"x\0\0\xD8"s, "x" + bad1}}) {
        std::string narrow;
        AppendUtf8FromUtf16Le(utf16, narrow);
        EXPECT_EQ(narrow, utf8) << testing::PrintToString(utf16);
    }
}

} // namespace
