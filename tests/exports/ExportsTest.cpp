#include "engines/VectorEngineRows.h"
#include "exports/EngineExport.h"
#include "registry/SearchFix.h"
#include "registry/Utf16.h"
#include "registry/modCore.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <set>
#include <sstream>

#ifdef _WIN32
#include "registry/UserRegistry.h"
#else
#include "registry/RegFileStore.h"
#endif

namespace {

VectorEngineRows Rows(const std::vector<std::pair<std::string, std::string>>& engines) {
    VectorEngineRows rows;
    for (const auto& [prefix, url] : engines) {
        rows.Add({prefix, url, "PREFIX=" + prefix + "\tURL=" + url, true});
    }
    return rows;
}

// The prefix "wé" in the list's encoding (the ANSI code page on Windows, UTF-8 elsewhere); exports hold
// UTF-8.
#ifdef _WIN32
constexpr const char* ListWe = "w\xE9";
#else
constexpr const char* ListWe = "w\xC3\xA9";
#endif

const std::string SearchUrlKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\SearchUrl";

const std::vector<std::pair<std::string, std::string>> Mixed = {
    {"g", "https://www.google.com/search?q=%s&hl=en"},
    {ListWe, "https://fr.wikipedia.org/w/?search=%s&x=\"<y>\""},
    {"", "https://empty.example/?q=%s"},
    {"two words", "https://space.example/?q=%s"},
    {"nos", "https://nos.example/"},
    {"G", "https://www.google.com/images?q=%s"},
    {"@at", "https://at.example/?q=%s"},
};

// A shortcut's block in a registry file: its key and its values, the quoted URL as the default one.
std::string RegKeyBlock(const std::string& prefix, const std::string& quotedUrl) {
    return "\r\n[" + SearchUrlKey + "\\" + prefix + "]\r\n@=\"" + quotedUrl +
           "\"\r\n\" \"=\"+\"\r\n\"%\"=\"%25\"\r\n\"&\"=\"%26\"\r\n\"+\"=\"%2B\"\r\n";
}

TEST(Exports, WriteEachFormatByteForByteAndNameWhatIsLeftOut) {
    const std::string common =
        "\r\n: it has no prefix\r\ntwo words: its prefix has a space\r\nnos: its URL has "
        "no %s for the search text";
    const std::string tail = "\r\ng: a later engine has the prefix G";
    struct Case {
        ExportFormat Format;
        std::string Bytes;
        std::string Report;
    };
    const Case cases[] = {
        {ExportFormat::Bookmarks,
         "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
         "charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n    <DT><H3>IE Vantrel "
         "Search "
         "Engines</H3>\n    <DL><p>\n        <DT><A "
         "HREF=\"https://fr.wikipedia.org/w/?search=%s&amp;x=&quot;&lt;y&gt;"
         "&quot;\" SHORTCUTURL=\"w\xC3\xA9\">fr.wikipedia.org</A>\n        <DT><A "
         "HREF=\"https://www.google.com/images?q=%s\" SHORTCUTURL=\"G\">www.google.com</A>\n"
         "        <DT><A HREF=\"https://at.example/?q=%s\" SHORTCUTURL=\"@at\">at.example</A>\n"
         "    </DL><p>\n</DL><p>\n",
         "3 of 7 checked engines have been exported.\r\n\r\nThese engines were left out:" + common + tail},
        {ExportFormat::Firefox,
         "{\n  \"policies\": {\n    \"SearchEngines\": {\n      \"Add\": [\n        {\n          \"Name\": "
         "\"fr.wikipedia.org\",\n          \"URLTemplate\": "
         "\"https://fr.wikipedia.org/w/?search={searchTerms}&x="
         "\\\"<y>\\\"\",\n          \"Method\": \"GET\",\n          \"Alias\": \"w\xC3\xA9\"\n        },\n"
         "        {\n          \"Name\": \"www.google.com\",\n          \"URLTemplate\": "
         "\"https://www.google.com/images?q={searchTerms}\",\n"
         "          \"Method\": \"GET\",\n          \"Alias\": \"G\"\n        },\n"
         "        {\n          \"Name\": \"at.example\",\n          \"URLTemplate\": "
         "\"https://at.example/?q={searchTerms}\",\n"
         "          \"Method\": \"GET\",\n          \"Alias\": \"@at\"\n        }\n      ]\n    }\n  }\n}\n",
         "3 of 7 checked engines have been exported.\r\n\r\nThese engines were left out:" + common + tail},
        // The registry file in UTF-8 here, UTF-16 in the file. The key of "g" keeps its name and takes the
        // URL of the later "G", as Install writes it.
        {ExportFormat::Reg,
         "Windows Registry Editor Version 5.00\r\n\r\n[-" + SearchUrlKey +
             "]\r\n\r\n[HKEY_CURRENT_USER\\Software]" +
             "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft]\r\n\r\n[HKEY_CURRENT_"
             "USER\\Software\\Microsoft\\" +
             "Internet Explorer]\r\n\r\n[" + SearchUrlKey + "]\r\n" +
             RegKeyBlock("w\xC3\xA9", "https://fr.wikipedia.org/w/?search=%s&x=\\\"<y>\\\"") +
             RegKeyBlock("g", "https://www.google.com/images?q=%s") +
             RegKeyBlock("@at", "https://at.example/?q=%s") + "\r\n",
         "3 of 7 checked engines have been exported.\r\n\r\nThese engines were left out:" + common + tail},
        {ExportFormat::Chrome,
         "{\n  \"SiteSearchSettings\": [\n    {\n      \"name\": \"fr.wikipedia.org\",\n      \"shortcut\": "
         "\"w\xC3\xA9\",\n      \"url\": "
         "\"https://fr.wikipedia.org/w/?search={searchTerms}&x=\\\"<y>\\\"\"\n    },\n"
         "    {\n      \"name\": \"www.google.com\",\n      \"shortcut\": \"G\",\n      \"url\": "
         "\"https://www.google.com/images?q={searchTerms}\"\n    }\n  ]\n}\n",
         "2 of 7 checked engines have been exported.\r\n\r\nThese engines were left out:" + common + tail +
             "\r\n@at: Chrome keeps shortcuts starting with @ for itself"},
    };
    const VectorEngineRows rows = Rows(Mixed);
    for (const Case& c : cases) {
        const EngineExport exported = ExportEngines(rows, c.Format);
        std::string bytes = c.Bytes;
        if (c.Format == ExportFormat::Reg) {
            bytes = "\xFF\xFE";
            AppendUtf16Le(c.Bytes, bytes);
        }
        EXPECT_EQ(exported.Bytes, bytes);
        EXPECT_EQ(ExportReport(exported, {}).Text, c.Report);
    }
}

// The lines of a registry editor file from the key down: each key's name, each value as "key|line".
std::set<std::string> Lines(std::string_view utf16, const std::string& under) {
    std::string text, key;
    AppendUtf8FromUtf16Le(utf16.substr(std::min<std::size_t>(2, utf16.size())), text);
    std::set<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('\r'));
        key = line.starts_with('[') ? line.substr(1, line.size() - 2) : key;
        if (key.starts_with(under) && !line.empty()) {
            lines.insert(line.starts_with('[') ? key : key + "|" + line);
        }
    }
    return lines;
}

// Wine's registry editor imports the file (/S) or exports the current user's keys to it (/E), in the registry
// the tests run in under Wine, elsewhere in a peer prefix.
std::string Regedit(const std::string& option, const std::string& file) {
    const std::string key = option == "/E" ? " HKEY_CURRENT_USER" : "";
#ifdef _WIN32
    std::system(("regedit " + option + " \"" + file + "\"" + key + " >NUL 2>&1").c_str());
#else
    std::string path = "Z:" + file;
    std::ranges::replace(path, '/', '\\');
    std::system(("wine regedit " + option + " '" + path + "'" + key + " >/dev/null 2>&1 </dev/null").c_str());
#endif
    return ReadBytes(file);
}

// Install writes awkward rows; the registry file, imported over them, leaves the same keys and values but for
// those of the rows it leaves out and names. Elsewhere the store file, with the search fix's values, imported
// into Wine, also comes back line for line.
TEST(Exports, TheRegistryFileImportedGivesTheKeysInstallWrote) {
    VectorEngineRows rows = Rows(Mixed);
    rows.Add({"", "", std::string("PREFIX=q&\"<\tURL=https://") + ListWe + ".example/?q=%s\\x", true});
    rows.Add({"", "", "PREFIX=off\tURL=https://off/?q=%s", false});
    const EngineExport exported = ExportEngines(rows, ExportFormat::Reg);
    TempFolder folder;
    WriteBytes(folder.File("export.reg"), exported.Bytes);
    RecordingPrompt prompt;
#ifdef _WIN32
    InstallEngines(rows, *OpenUserRegistry(), prompt);
    std::set<std::string> installed = Lines(Regedit("/E", folder.File("installed.reg")), SearchUrlKey);
#else
    RegFileStore store(folder.File("store.reg"));
    InstallEngines(rows, store, prompt);
    std::set<std::string> installed = Lines(ReadBytes(store.Path()), SearchUrlKey);
    ASSERT_TRUE(ApplySearchFix(store).empty());
    Regedit("/S", folder.File("export.reg"));
    Regedit("/S", store.Path());
    std::vector<std::string> notImported;
    std::ranges::set_difference(Lines(ReadBytes(store.Path()), ""),
                                Lines(Regedit("/E", folder.File("peer.reg")), ""),
                                std::back_inserter(notImported));
    EXPECT_EQ(notImported, std::vector<std::string>{});
#endif
    Regedit("/S", folder.File("export.reg"));
    EXPECT_EQ(prompt.Shown.at(0).Text, "8 of 9 shortcuts have been installed.");
    EXPECT_EQ(exported.LeftOut.size(), 4U);
    EXPECT_EQ(installed.size(), 42U);
    std::erase_if(installed, [](const std::string& line) {
        return line.starts_with(SearchUrlKey + "|") || line.starts_with(SearchUrlKey + "\\two words") ||
               line.starts_with(SearchUrlKey + "\\nos");
    });
    EXPECT_EQ(Lines(Regedit("/E", folder.File("imported.reg")), SearchUrlKey), installed);
}

// An engine's name is its URL's host, past a user name and before a port, a path, a query or a fragment;
// without a host, its prefix. Every character to escape is found, wherever it falls in the text.
TEST(Exports, NamesAreHostsAndEveryEscapeIsFound) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"https://user:pw@example.org:8080/s?q=%s", "example.org"},
        {"https://[::1]/?q=%s", "[::1]"},
        {"https://[::2]:8443/?q=%s", "[::2]"},
        {"http://query.example?q=%s", "query.example"},
        {"http://fragment.example#%s", "fragment.example"},
        {"nohost:%s", "p5"},
    };
    std::vector<std::pair<std::string, std::string>> engines;
    for (const auto& [url, name] : names) {
        engines.emplace_back("p" + std::to_string(engines.size()), url);
    }
    std::string ampersands = "https://amp.example/?q=%s";
    for (int i = 0; i < 8; ++i) {
        ampersands += "&xxxxxxxx";
    }
    engines.emplace_back("amp", ampersands);
    const std::string bytes = ExportEngines(Rows(engines), ExportFormat::Bookmarks).Bytes;
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_NE(bytes.find("SHORTCUTURL=\"p" + std::to_string(i) + "\">" + names[i].second + "</A>"),
                  std::string::npos)
            << names[i].first;
    }
    std::string escaped;
    for (const char c : ampersands) {
        escaped += c == '&' ? std::string("&amp;") : std::string(1, c);
    }
    EXPECT_NE(bytes.find("HREF=\"" + escaped + "\""), std::string::npos);
}

TEST(Exports, EmptyListAndChromesLimit) {
    const EngineExport empty = ExportEngines(VectorEngineRows(), ExportFormat::Chrome);
    EXPECT_EQ(empty.Bytes, "{\n  \"SiteSearchSettings\": []\n}\n");
    EXPECT_EQ(ExportReport(empty, {}).Text, "0 of 0 checked engines have been exported.");
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 101; ++i) {
        many.emplace_back("p" + std::to_string(i), "https://e/?q=%s");
    }
    const EngineExport chrome = ExportEngines(Rows(many), ExportFormat::Chrome);
    EXPECT_EQ(chrome.Exported, 100U);
    EXPECT_EQ(chrome.LeftOut,
              (std::vector<LeftOutEngine>{{"p100", "Chrome takes at most 100 site searches"}}));
    EXPECT_EQ(ExportEngines(Rows(many), ExportFormat::Firefox).Exported, 101U);
}

#ifndef _WIN32
TEST(Exports, ListBytesThatAreNotUtf8AreLeftOut) {
    const EngineExport exported =
        ExportEngines(Rows({{"bad", "https://e/?q=%s\xE9"}}), ExportFormat::Bookmarks);
    EXPECT_EQ(exported.LeftOut,
              (std::vector<LeftOutEngine>{{"bad", "its text is not in the list's encoding"}}));
}
#endif

} // namespace
