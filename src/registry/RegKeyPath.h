#pragma once

#include "platform/Status.h"

#include <string_view>
#include <vector>

// Cuts a key path into its key names. One trailing backslash names the same key as the path without it; the
// empty path names the root. A path with an empty key name anywhere else (a leading or doubled backslash) is
// refused, as is a name holding a line break or a zero character, which the store file cannot hold, and a
// path deeper than the registry's 512 levels or a name longer than its 255 characters.
Status SplitKeyPath(std::string_view path, std::vector<std::string_view>& names);

// Whether the text can stand in the store file as a name or a text value: no line break, no zero character.
bool FitsOnOneLine(std::string_view text);
