#include "registry/Utf16.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

// Each text both ways: UTF-8 (well-formed or not) to UTF-16LE and back; bytes that are not UTF-8 and unpaired
// surrogates become U+FFFD, one per byte or unit.
TEST(Utf16, ConvertsWellFormedTextAndReplacesEverythingElse) {
    const struct {
        std::string utf8, utf16, back;
    } cases[] = {
        {"a\xC3\xA9\xE2\x82\xAC", std::string("a\0\xE9\0\xAC\x20", 6), "a\xC3\xA9\xE2\x82\xAC"},
        {"\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", "\x80\0\xFF\x07\0\x08\xFF\xFF"s,
         "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {"\xF0\x90\x80\x80", "\0\xD8\0\xDC"s, "\xF0\x90\x80\x80"},
        {"\xF4\x8F\xBF\xBF", "\xFF\xDB\xFF\xDF", "\xF4\x8F\xBF\xBF"},
        {"\xEE\x80\x80", std::string("\0\xE0", 2), "\xEE\x80\x80"},
        {"\xED\xBF\xBF", "\xFD\xFF\xFD\xFF\xFD\xFF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF4\x90\x80\x80", "\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xC1\xBF\xE0\x9F\xBF", "\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xE2\x82", "\xFD\xFF\xFD\xFF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [utf8, utf16, back] : cases) {
        std::string wide, narrow;
        AppendUtf16Le(utf8, wide);
        EXPECT_EQ(wide, utf16) << testing::PrintToString(utf8);
        EXPECT_EQ(Utf16Length(utf8), utf16.size() / 2) << testing::PrintToString(utf8);
        AppendUtf8FromUtf16Le(wide, narrow);
        EXPECT_EQ(narrow, back) << testing::PrintToString(utf8);
    }
    // Surrogates read from a file: a pair, a lone high one before U+E000, a lone low one, one cut off at the
    // end.
    const struct {
        std::string utf16, utf8;
    } units[] = {
        {std::string("\x00\xD8\xFF\xDF", 4), "\xF0\x90\x8F\xBF"},
        {std::string("\x00\xD8\x00\xE0", 4), "\xEF\xBF\xBD\xEE\x80\x80"},
        {std::string("\xFF\xDB\xFF\xDB\x00\xDC", 6), "\xEF\xBF\xBD\xF4\x8F\xB0\x80"},
        {std::string("\x00\xDCx\0", 4), "\xEF\xBF\xBDx"},
        {std::string("x\0\x00\xD8", 4), "x\xEF\xBF\xBD"},
    };
    for (const auto& [utf16, utf8] : units) {
        std::string narrow;
        AppendUtf8FromUtf16Le(utf16, narrow);
        EXPECT_EQ(narrow, utf8) << testing::PrintToString(utf16);
    }
}
