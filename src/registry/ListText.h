#pragma once

#include <optional>
#include <string>
#include <string_view>

// The list's text (the system's 8-bit encoding: the ANSI code page on Windows, UTF-8 elsewhere) as UTF-8, or
// nothing when the bytes are not text in that encoding.
std::optional<std::string> ListTextToUtf8(std::string_view text);
