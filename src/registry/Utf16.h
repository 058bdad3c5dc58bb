#pragma once

#include <string>
#include <string_view>

// Appends the UTF-8 text as UTF-16LE; a byte sequence that is not UTF-8 becomes U+FFFD.
void AppendUtf16Le(std::string_view utf8, std::string& out);

// The number of UTF-16 code units that AppendUtf16Le makes of the text.
std::size_t Utf16Length(std::string_view utf8);

// Appends the UTF-16LE bytes (an even count) as UTF-8; an unpaired surrogate becomes U+FFFD.
void AppendUtf8FromUtf16Le(std::string_view utf16, std::string& out);
