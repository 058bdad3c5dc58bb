#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

// The list's text (the system's 8-bit encoding: the ANSI code page on Windows, UTF-8 elsewhere) as UTF-8, or
// nothing when the bytes are not text in that encoding.
std::optional<std::string> ListTextToUtf8(std::string_view text);

// The same without a copy where the text is UTF-8 as it stands: a view of `text` itself, or of its
// conversion, kept in `converted`.
std::optional<std::string_view> ListTextAsUtf8(std::string_view text, std::deque<std::string>& converted);
