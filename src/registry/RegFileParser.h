#pragma once

#include "platform/Status.h"
#include "registry/RegKey.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads the lines of a registry export, already decoded to UTF-8, into a tree under HKEY_CURRENT_USER.
class RegFileParser {
public:
    RegFileParser(const std::string& fileName, RegKey& root) : fileName_(fileName), root_(root) {}

    Status Parse(std::string_view text);
    // The failure naming the file and the line.
    Status Fail(std::size_t line, std::string_view what) const;
    // The number of the line that the end of `text` is on.
    static std::size_t LineCount(std::string_view text);

private:
    Status ParseLine(std::size_t number, std::string_view line);
    Status ParseKeyLine(std::size_t number, std::string_view line);
    Status ParseValueLine(std::size_t number, std::string_view line);
    Status ParseData(std::size_t number, std::string_view data, RegValue& value) const;

    const std::string& fileName_;
    RegKey& root_;
    RegKey* current_ = nullptr;
    // The names and keys of the last key line, outermost first: an export lists each key right after its
    // parent or a sibling, so the next key line shares most of them.
    std::vector<std::string> lastNames_;
    std::vector<RegKey*> lastKeys_;
};
