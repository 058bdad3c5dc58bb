#include "engines/modParse.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

// GetField against a field-by-field reading of random lines is the record line fuzzer's job; these are the
// rules that can really go wrong, one line each.

TEST(SplitString, CutsAtEveryOccurrenceKeepingEmptyPiecesWithoutOverlapAndCaseSensitively) {
    const struct {
        std::string_view text, delimiter;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a\t\tb", "\t", {"a", "", "b"}},
        {"", "\t", {""}},
        {"\ta\t", "\t", {"", "a", ""}},
        {"no delimiter", "\t", {"no delimiter"}},
        {"a\tb", "", {"a\tb"}},
        {"aaaaa", "aa", {"", "", "a"}},
        {"xABxabx", "ab", {"xABx", "x"}},
        {std::string_view("a\0b", 3), std::string_view("\0", 1), {"a", "b"}},
    };
    for (const auto& [text, delimiter, pieces] : cases) {
        EXPECT_EQ(SplitString(text, delimiter), pieces) << text;
    }
}

TEST(GetField, ReadsExactNamesInAnyOrderUntrimmedAndFallsBackToTheDefault) {
    const std::string url = "https://www.example.com/search?q=%s";
    const struct {
        std::string line, key, fallback, expected;
    } cases[] = {
        {"PREFIX=g\tURL=" + url, "PREFIX", "", "g"},
        {"PREFIX=g\tURL=" + url, "URL", "", url},
        {"URL=https://e.example/?a=b=c\tPREFIX= g ", "PREFIX", "", " g "},
        {"URL=https://e.example/?a=b=c\tPREFIX= g ", "URL", "", "https://e.example/?a=b=c"},
        {"PREFIX=g\tNAME=x\tURL=u", "URL", "", "u"},
        {"prefix=g\tURL=u", "PREFIX", "none", "none"},
        {"PREFIX =g\tURL=u", "PREFIX", "none", "none"},
        {"PREFIX=first\tPREFIX=second", "PREFIX", "", "first"},
        {"PREFIX=\tPREFIX=second", "PREFIX", "none", "none"},
        // A first field without "=" hides the whole line; an empty line reads empty, not the default.
        {"junk\tPREFIX=g\tURL=u", "PREFIX", "fallback", "fallback"},
        {"\tPREFIX=g\tURL=u", "URL", "fallback", "fallback"},
        {"    ", "PREFIX", "fallback", "fallback"},
        {"", "PREFIX", "fallback", ""},
    };
    for (const auto& [line, key, fallback, expected] : cases) {
        EXPECT_EQ(GetField(line, key, "\t", "=", fallback), expected) << line << " key " << key;
    }
}

TEST(MakeRecordLine, WritesTheCanonicalFormThatParsesBack) {
    EXPECT_EQ(MakeRecordLine("g", "https://e.example/?q=%s"), "PREFIX=g\tURL=https://e.example/?q=%s");
    EXPECT_EQ(MakeRecordLine("", ""), "PREFIX=\tURL=");
    const std::string line = MakeRecordLine("w\xE9", "https://e.example/\xC3\xA9?q=%s");
    EXPECT_EQ(GetField(line, "PREFIX", "\t", "=", ""), "w\xE9");
    EXPECT_EQ(GetField(line, "URL", "\t", "=", ""), "https://e.example/\xC3\xA9?q=%s");
}
