#pragma once

#include "engines/EngineRows.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Cuts `text` at every occurrence of `delimiter`: k occurrences give k + 1 elements. An empty delimiter gives
// the whole text as the one element.
std::vector<std::string> SplitString(std::string_view text, std::string_view delimiter);

// The value of the field named `key` in a record line of fields separated by `fieldSeparator`, each a name,
// the one-character `keyValueSeparator` and a value. Empty for an empty line; `defaultValue` when the first
// field has no separator, when no field matches, or when the value is empty.
std::string GetField(std::string_view line, std::string_view key, std::string_view fieldSeparator,
                     std::string_view keyValueSeparator, std::string_view defaultValue);
// The same value as a view into `line` (or `defaultValue`), without a copy.
std::string_view GetFieldView(std::string_view line, std::string_view key, std::string_view fieldSeparator,
                              std::string_view keyValueSeparator, std::string_view defaultValue);

// The value of the field named `key` ("PREFIX", "URL") in the row's record line, empty when it has none.
std::string_view RowField(const EngineRow& row, std::string_view key);
// The row's "PREFIX" and "URL" fields, as RowField reads each, in one walk over its record line.
std::pair<std::string_view, std::string_view> RowPrefixAndUrl(const EngineRow& row);

// The engine record line "PREFIX=" + prefix + TAB + "URL=" + url.
std::string MakeRecordLine(std::string_view prefix, std::string_view url);
