#include "registry/modCore.h"

#include "UserRegistryTest.h"
#include "engines/VectorEngineRows.h"
#include "engines/modParse.h"
#include "registry/SearchFix.h"
#include "registry/modRegistry.h"
#include "support/RecordingPrompt.h"
#include "support/SearchFixValues.h"

#include <algorithm>
#include <string>

namespace {

constexpr RegRoot CurrentUser = RegRoot::CurrentUser;
const std::string SearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";

RegValue Text(std::string text) {
    return RegValue{RegType::String, std::move(text)};
}

void AddEngine(VectorEngineRows& rows, const std::string& prefix, const std::string& url, bool checked) {
    rows.Add(EngineRow{prefix, url, MakeRecordLine(prefix, url), checked});
}

std::vector<std::string> SortedSubKeys(RegistryStore& store, const std::string& path) {
    std::vector<std::string> names = store.SubKeyNames(CurrentUser, path);
    std::ranges::sort(names);
    return names;
}

class InstallerTest : public UserRegistryTest {
protected:
    void ExpectShortcut(const std::string& keyPath, const std::string& url) {
        EXPECT_EQ(Store().QueryValue(CurrentUser, keyPath, ""), Text(url)) << keyPath;
        EXPECT_EQ(Store().QueryValue(CurrentUser, keyPath, " "), Text("+")) << keyPath;
        EXPECT_EQ(Store().QueryValue(CurrentUser, keyPath, "%"), Text("%25")) << keyPath;
        EXPECT_EQ(Store().QueryValue(CurrentUser, keyPath, "&"), Text("%26")) << keyPath;
        EXPECT_EQ(Store().QueryValue(CurrentUser, keyPath, "+"), Text("%2B")) << keyPath;
    }

    PromptMessage Install(const VectorEngineRows& rows) {
        RecordingPrompt prompt;
        InstallEngines(rows, Store(), prompt);
        EXPECT_EQ(prompt.Shown.size(), 1u);
        return prompt.Shown.empty() ? PromptMessage{} : prompt.Shown.front();
    }

    VectorEngineRows rows_;
};

TEST_F(InstallerTest, InstallsTheCheckedRowsAndReportsTheCount) {
    AddEngine(rows_, "g", "http://www.google.com/search?q=%s", true);
    AddEngine(rows_, "off", "http://off/?q=%s", false);
    AddEngine(rows_, "w", "http://en.wikipedia.org/?search=%s", true);
    AddEngine(rows_, "y", "http://search.yahoo.com/search?p=%s", true);
    AddEngine(rows_, "", "http://unchecked-empty/?q=%s", false);

    EXPECT_EQ(Install(rows_), (PromptMessage{"InstallEngines()", "3 of 5 shortcuts have been installed.",
                                             PromptIcon::Information, PromptButtons::Ok}));
    EXPECT_EQ(SortedSubKeys(Store(), SearchUrl), (std::vector<std::string>{"g", "w", "y"}));
    ExpectShortcut(SearchUrl + "\\g", "http://www.google.com/search?q=%s");
}

TEST_F(InstallerTest, RewritesTheWholeSearchUrlKeyEvenWithAnEmptyList) {
    ASSERT_TRUE(InstallShortcut(Store(), "byhand", "http://by-hand/%s").ok());
    ASSERT_TRUE(ApplySearchFix(Store()).empty());
    AddEngine(rows_, "new", "http://new/%s", true);

    EXPECT_EQ(Install(rows_).Text, "1 of 1 shortcuts have been installed.");
    EXPECT_EQ(SortedSubKeys(Store(), SearchUrl), std::vector<std::string>{"new"});
    EXPECT_EQ(Store().QueryValue(CurrentUser, SearchUrl, ""), std::nullopt);
    EXPECT_EQ(Store().QueryValue(CurrentUser, SearchUrl, "%"), std::nullopt);
    EXPECT_EQ(Store().QueryValue(CurrentUser, "Software\\Microsoft\\Internet Explorer\\Main", "Search Page"),
              Text("http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch"));

    EXPECT_EQ(Install(VectorEngineRows{}).Text, "0 of 0 shortcuts have been installed.");
    EXPECT_TRUE(Store().KeyExists(CurrentUser, SearchUrl));
    EXPECT_TRUE(Store().SubKeyNames(CurrentUser, SearchUrl).empty());
}

// Removing the empty prefix never deletes the SearchUrl key; removing all deletes its tree, and removing what
// is gone succeeds.
TEST_F(InstallerTest, AnEmptyPrefixWritesOntoTheSearchUrlKeyAndOnlyRemovingAllDeletesIt) {
    AddEngine(rows_, "", "http://empty/%s", true);
    AddEngine(rows_, "k", "http://k/%s", true);
    AddEngine(rows_, "", "", false);
    EXPECT_EQ(Install(rows_).Text, "2 of 3 shortcuts have been installed.");
    ExpectShortcut(SearchUrl, "http://empty/%s");
    ExpectShortcut(SearchUrl + "\\k", "http://k/%s");

    EXPECT_TRUE(RemoveShortcut(Store(), "").ok());
    ExpectShortcut(SearchUrl + "\\k", "http://k/%s");
    EXPECT_TRUE(RemoveShortcut(Store(), "k").ok());
    EXPECT_FALSE(Store().KeyExists(CurrentUser, SearchUrl + "\\k"));
    EXPECT_TRUE(RemoveShortcut(Store(), "k").ok());

    EXPECT_TRUE(RemoveAllShortcuts(Store()).ok());
    EXPECT_FALSE(Store().KeyExists(CurrentUser, SearchUrl));
    EXPECT_TRUE(Store().KeyExists(CurrentUser, "Software\\Microsoft\\Internet Explorer"));
    EXPECT_TRUE(RemoveAllShortcuts(Store()).ok());
}

TEST_F(InstallerTest, PrefixesNameKeysBelowSearchUrlAsTheRegistryDoes) {
    AddEngine(rows_, "Dup", "http://first/%s", true);
    AddEngine(rows_, "dUP", "http://second/%s", true);
    AddEngine(rows_, "DUP\\", "http://unchecked/%s", false);
    AddEngine(rows_, "a\\b", "http://nested/%s", true);
    AddEngine(rows_, "..\\..\\..\\Escaped", "http://dots/%s", true);
    AddEngine(rows_, "noUrl", "", true);
    EXPECT_EQ(Install(rows_).Text, "5 of 6 shortcuts have been installed.");
    const std::vector<std::string> names = Store().SubKeyNames(CurrentUser, SearchUrl);
    EXPECT_EQ(std::ranges::count(names, "Dup"), 1);
    EXPECT_EQ(std::ranges::count(names, "dUP"), 0);
    ExpectShortcut(SearchUrl + "\\dup", "http://second/%s");
    ExpectShortcut(SearchUrl + "\\a\\b", "http://nested/%s");
    ExpectShortcut(SearchUrl + "\\..\\..\\..\\Escaped", "http://dots/%s");
    ExpectShortcut(SearchUrl + "\\noUrl", "");
    EXPECT_FALSE(Store().KeyExists(CurrentUser, "Software\\Escaped"));
    EXPECT_FALSE(Store().KeyExists(CurrentUser, "Escaped"));
}

TEST_F(InstallerTest, NamesThePrefixesThatCouldNotBeInstalled) {
    const std::string tooLong(300, 'x');
    AddEngine(rows_, "good", "http://good/%s", true);
    AddEngine(rows_, tooLong, "http://long/%s", true);
    AddEngine(rows_, "unchecked", "http://u/%s", false);
    const PromptMessage box = Install(rows_);
    EXPECT_EQ(box, (PromptMessage{"InstallEngines()", box.Text, PromptIcon::Exclamation, PromptButtons::Ok}));
    EXPECT_TRUE(box.Text.starts_with("1 of 3 shortcuts have been installed.\r\n\r\n"
                                     "These shortcuts could not be installed:\r\n" +
                                     tooLong + "\r\n\r\nBecause: "))
        << box.Text;
    ExpectShortcut(SearchUrl + "\\good", "http://good/%s");
}

using SearchFixTest = UserRegistryTest;

const std::string Hooks = "Software\\Microsoft\\Internet Explorer\\URLSearchHooks";
const std::string Prefixes = "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes";

TEST_F(SearchFixTest, WritesEverySettingOnAnEmptyHive) {
    EXPECT_TRUE(ApplySearchFix(Store()).empty());
    for (const auto& [key, name, value] : SearchFixValues()) {
        EXPECT_TRUE(Store().KeyExists(CurrentUser, key)) << key;
        if (value) {
            EXPECT_EQ(Store().QueryValue(CurrentUser, key, name), value) << key << "\\" << name;
        }
    }
    EXPECT_EQ(Store().QueryValue(CurrentUser, SearchUrl, "+"), Text("%2B"));
    EXPECT_EQ(Store().QueryValue(CurrentUser,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix", ""),
              std::nullopt);
}

TEST_F(SearchFixTest, OnlyWritesAndLeavesWhatItDoesNotName) {
    ASSERT_TRUE(InstallShortcut(Store(), "keep", "http://keep/%s").ok());
    ASSERT_TRUE(WriteStringValue(Store(), CurrentUser, Prefixes, "www", "http://").ok());
    ASSERT_TRUE(
        WriteStringValue(Store(), CurrentUser, Hooks, "{CFBFAE00-17A6-11D0-99CB-00C04FD64497}", "old").ok());
    ASSERT_TRUE(WriteStringValue(Store(), CurrentUser, Hooks, "Other", "stays").ok());

    EXPECT_TRUE(ApplySearchFix(Store()).empty());
    EXPECT_TRUE(ApplySearchFix(Store()).empty());
    EXPECT_EQ(Store().QueryValue(CurrentUser, SearchUrl + "\\keep", ""), Text("http://keep/%s"));
    EXPECT_EQ(Store().QueryValue(CurrentUser, Prefixes, "www"), Text("http://"));
    EXPECT_EQ(Store().QueryValue(CurrentUser, Hooks, "{CFBFAE00-17A6-11D0-99CB-00C04FD64497}"), Text(""));
    EXPECT_EQ(Store().QueryValue(CurrentUser, Hooks, "Other"), Text("stays"));
}

} // namespace
