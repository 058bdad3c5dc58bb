#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Decodes the code point at `at` and moves `at` past it. For a byte that does not start well-formed UTF-8
// there is none, and `at` moves past that one byte.
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& at);

// The offset of the first byte that is not part of well-formed UTF-8, or npos when there is none.
std::size_t FirstNonUtf8(std::string_view text);

void AppendUtf8(char32_t code, std::string& out);

// Appends the UTF-8 text as UTF-16LE; a byte sequence that is not UTF-8 becomes U+FFFD.
void AppendUtf16Le(std::string_view utf8, std::string& out);

// The number of UTF-16 code units that AppendUtf16Le makes of the text.
std::size_t Utf16Length(std::string_view utf8);

// Appends the UTF-16LE bytes (an even count) as UTF-8; an unpaired surrogate becomes U+FFFD.
void AppendUtf8FromUtf16Le(std::string_view utf16, std::string& out);

// Windows-1252, the code page of the registry editor's 8-bit files, as Windows reads and writes it: each of
// the 256 bytes is one character, the five the code page leaves undefined being the control characters of
// their number (0x81 is U+0081).
void AppendUtf8FromWindows1252(std::string_view bytes, std::string& out);
// Whether the text is well-formed UTF-8 of characters that Windows-1252 has.
bool FitsWindows1252(std::string_view utf8);
// Appends the UTF-8 text in Windows-1252; whatever does not fit becomes "?", as Windows writes it.
void AppendWindows1252(std::string_view utf8, std::string& out);
