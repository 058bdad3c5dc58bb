#include "engines/modParse.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

std::string Prefix(std::string_view line) {
    return GetField(line, "PREFIX", "\t", "=", "");
}
std::string Url(std::string_view line) {
    return GetField(line, "URL", "\t", "=", "");
}

// GetField written the slow, obvious way over SplitString, to hold the fast one to the same answers.
std::string GetFieldBySplitting(std::string_view line, std::string_view key, std::string_view fieldSeparator,
                                std::string_view keyValueSeparator, std::string_view defaultValue) {
    if (line.empty()) {
        return {};
    }
    const Pieces fields = SplitString(line, fieldSeparator);
    if (fields[0].find(keyValueSeparator) == std::string::npos) {
        return std::string(defaultValue);
    }
    for (const auto& field : fields) {
        const auto separator = field.find(keyValueSeparator);
        const std::string name = separator == std::string::npos ? "" : field.substr(0, separator);
        if (name == key) {
            const std::string value = separator == std::string::npos ? "" : field.substr(separator + 1);
            return value.empty() ? std::string(defaultValue) : value;
        }
    }
    return std::string(defaultValue);
}

} // namespace

TEST(SplitString, CutsAtEveryOccurrenceAndKeepsEmptyPieces) {
    EXPECT_EQ(SplitString("a\t\tb", "\t"), (Pieces{"a", "", "b"}));
    EXPECT_EQ(SplitString("", "\t"), (Pieces{""}));
    EXPECT_EQ(SplitString("\ta\t", "\t"), (Pieces{"", "a", ""}));
    EXPECT_EQ(SplitString("no delimiter", "\t"), (Pieces{"no delimiter"}));
    EXPECT_EQ(SplitString("a\tb", ""), (Pieces{"a\tb"}));
}

TEST(SplitString, MatchesLongDelimitersWithoutOverlapAndCaseSensitively) {
    EXPECT_EQ(SplitString("aaaaa", "aa"), (Pieces{"", "", "a"}));
    EXPECT_EQ(SplitString("xABxabx", "ab"), (Pieces{"xABx", "x"}));
    EXPECT_EQ(SplitString(std::string_view("a\0b", 3), std::string_view("\0", 1)), (Pieces{"a", "b"}));
}

TEST(GetField, ReadsBothFieldsInEitherOrderUntrimmed) {
    EXPECT_EQ(Prefix("PREFIX=g\tURL=https://www.example.com/search?q=%s"), "g");
    EXPECT_EQ(Url("PREFIX=g\tURL=https://www.example.com/search?q=%s"),
              "https://www.example.com/search?q=%s");
    EXPECT_EQ(Prefix("URL=https://e.example/?a=b=c\tPREFIX= g "), " g ");
    EXPECT_EQ(Url("URL=https://e.example/?a=b=c\tPREFIX= g "), "https://e.example/?a=b=c");
    EXPECT_EQ(Url("PREFIX=g\tNAME=x\tURL=u"), "u");
}

TEST(GetField, NamesMatchExactlyAndTheFirstMatchWins) {
    EXPECT_EQ(Prefix("prefix=g\tURL=u"), "");
    EXPECT_EQ(Prefix("PREFIX =g\tURL=u"), "");
    EXPECT_EQ(Prefix("PREFIX=first\tPREFIX=second"), "first");
    EXPECT_EQ(Prefix("PREFIX=\tPREFIX=second"), "");
    EXPECT_EQ(GetField("PREFIX=\tURL=u", "PREFIX", "\t", "=", "none"), "none");
}

TEST(GetField, AFirstFieldWithoutSeparatorHidesTheWholeLine) {
    EXPECT_EQ(Prefix("junk\tPREFIX=g\tURL=u"), "");
    EXPECT_EQ(Url("\tPREFIX=g\tURL=u"), "");
    EXPECT_EQ(GetField("junk\tPREFIX=g", "PREFIX", "\t", "=", "fallback"), "fallback");
    EXPECT_EQ(Prefix("    "), "");
    EXPECT_EQ(GetField("", "PREFIX", "\t", "=", "fallback"), "");
}

TEST(GetField, AgreesWithTheSplittingAlgorithmOnRandomLines) {
    // Short lines over a tiny alphabet reach every corner: empty fields, repeated separators, near-miss
    // names.
    const std::vector<std::string> atoms = {
        "PREFIX", "URL", "=", "\t", "P", "x", " ", "\n", std::string(1, '\0')};
    const std::vector<std::string> keys = {"PREFIX", "URL", "P", ""};
    std::mt19937 random(20261206);
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        const int length = static_cast<int>(random() % 8);
        for (int i = 0; i < length; ++i) {
            line += atoms[random() % atoms.size()];
        }
        for (const auto& key : keys) {
            ASSERT_EQ(GetField(line, key, "\t", "=", "d"), GetFieldBySplitting(line, key, "\t", "=", "d"))
                << "line of " << line.size() << " bytes: " << line << " key " << key;
        }
    }
}

TEST(MakeRecordLine, WritesTheCanonicalFormThatParsesBack) {
    EXPECT_EQ(MakeRecordLine("g", "https://e.example/?q=%s"), "PREFIX=g\tURL=https://e.example/?q=%s");
    EXPECT_EQ(MakeRecordLine("", ""), "PREFIX=\tURL=");
    const std::string line = MakeRecordLine("w\xE9", "https://e.example/\xC3\xA9?q=%s");
    EXPECT_EQ(Prefix(line), "w\xE9");
    EXPECT_EQ(Url(line), "https://e.example/\xC3\xA9?q=%s");
}
