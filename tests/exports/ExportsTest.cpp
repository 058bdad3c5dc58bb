#include "engines/VectorEngineRows.h"
#include "exports/EngineExport.h"
#include "registry/Utf16.h"

#include <gtest/gtest.h>

namespace {

VectorEngineRows Rows(const std::vector<std::pair<std::string, std::string>>& engines) {
    VectorEngineRows rows;
    for (const auto& [prefix, url] : engines) {
        rows.Add({prefix, url, "PREFIX=" + prefix + "\tURL=" + url, true});
    }
    return rows;
}

// The prefix "wé" in the list's encoding (the ANSI code page on Windows, UTF-8 elsewhere); exports hold
// UTF-8. UTF-8.
#ifdef _WIN32
constexpr const char* ListWe = "w\xE9";
#else
constexpr const char* ListWe = "w\xC3\xA9";
#endif

const std::vector<std::pair<std::string, std::string>> Mixed = {
    {"g", "https://www.google.com/search?q=%s&hl=en"},
    {ListWe, "https://fr.wikipedia.org/w/?search=%s&x=\"<y>\""},
    {"", "https://empty.example/?q=%s"},
    {"two words", "https://space.example/?q=%s"},
    {"nos", "https://nos.example/"},
    {"@at", "https://at.example/?q=%s"},
    {"G", "https://www.google.com/images?q=%s"},
};

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
         "HREF=\"https://at.example/?q=%s\" "
         "SHORTCUTURL=\"@at\">at.example</A>\n        <DT><A HREF=\"https://www.google.com/images?q=%s\" "
         "SHORTCUTURL=\"G\">www.google.com</A>\n    </DL><p>\n</DL><p>\n",
         "3 of 7 checked engines have been exported.\r\n\r\nThese engines were left out:" + common + tail},
        {ExportFormat::Firefox,
         "{\n  \"policies\": {\n    \"SearchEngines\": {\n      \"Add\": [\n        {\n          \"Name\": "
         "\"fr.wikipedia.org\",\n          \"URLTemplate\": "
         "\"https://fr.wikipedia.org/w/?search={searchTerms}&x="
         "\\\"<y>\\\"\",\n          \"Method\": \"GET\",\n          \"Alias\": \"w\xC3\xA9\"\n        },\n   "
         "     {\n"
         "          \"Name\": \"at.example\",\n          \"URLTemplate\": "
         "\"https://at.example/?q={searchTerms}\",\n"
         "          \"Method\": \"GET\",\n          \"Alias\": \"@at\"\n        },\n        {\n          "
         "\"Name\": "
         "\"www.google.com\",\n          \"URLTemplate\": "
         "\"https://www.google.com/images?q={searchTerms}\",\n      "
         "    \"Method\": \"GET\",\n          \"Alias\": \"G\"\n        }\n      ]\n    }\n  }\n}\n",
         "3 of 7 checked engines have been exported.\r\n\r\nThese engines were left out:" + common + tail},
        {ExportFormat::Chrome,
         "{\n  \"SiteSearchSettings\": [\n    {\n      \"name\": \"fr.wikipedia.org\",\n      \"shortcut\": "
         "\"w\xC3\xA9\",\n      \"url\": "
         "\"https://fr.wikipedia.org/w/?search={searchTerms}&x=\\\"<y>\\\"\"\n    },\n"
         "    {\n      \"name\": \"www.google.com\",\n      \"shortcut\": \"G\",\n      \"url\": "
         "\"https://www.google.com/images?q={searchTerms}\"\n    }\n  ]\n}\n",
         "2 of 7 checked engines have been exported.\r\n\r\nThese engines were left out:" + common +
             "\r\n@at: Chrome keeps shortcuts starting with @ for itself" + tail},
    };
    const VectorEngineRows rows = Rows(Mixed);
    for (const Case& c : cases) {
        const EngineExport exported = ExportEngines(rows, c.Format);
        EXPECT_EQ(exported.Bytes, c.Bytes);
        EXPECT_EQ(ExportReport(exported, {}).Text, c.Report);
    }
}

TEST(Exports, RegistryFileRemovesTheTreeThenHoldsInstallsKeys) {
    std::string text;
    AppendUtf8FromUtf16Le(ExportEngines(Rows({{"g", "https://g/?q=%s"}}), ExportFormat::Reg).Bytes.substr(2),
                          text);
    const std::string key = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\SearchUrl";
    EXPECT_EQ(text,
              "Windows Registry Editor Version 5.00\r\n\r\n[-" + key +
                  "]\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft]\r\n"
                  "\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer]\r\n\r\n[" +
                  key + "]\r\n\r\n[" + key +
                  "\\g]\r\n@=\"https://g/?q=%s\"\r\n\" \"=\"+\"\r\n\"%\"=\"%25\"\r\n\"&\"=\"%26\"\r\n\"+\"="
                  "\"%2B\"\r\n\r\n");
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
