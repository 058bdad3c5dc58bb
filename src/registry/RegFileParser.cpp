#include "registry/RegFileParser.h"

#include "registry/RegKeyPath.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <vector>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view TrimStart(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// Takes the next line off `text`, without its line end.
std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return TrimEnd(line);
}

// Takes the next line off `text`, joined with the lines that continue it (a line ending in a backslash goes
// on in the next), counting the lines taken. Only a continued line is copied, into `joined`.
std::string_view LogicalLine(std::string_view& text, std::size_t& number, std::string& joined) {
    const std::string_view line = NextLine(text);
    if (!line.ends_with('\\')) {
        return line;
    }
    joined = line;
    while (joined.ends_with('\\') && !text.empty()) {
        joined.pop_back();
        joined += TrimStart(NextLine(text));
        ++number;
    }
    return joined;
}

// Reads a quoted text starting at `at` (on its opening quote), leaving `at` after the closing quote.
bool ReadQuoted(std::string_view line, std::size_t& at, std::string& out) {
    for (++at;;) {
        const std::size_t special = line.find_first_of("\\\"", at);
        if (special == std::string_view::npos) {
            return false;
        }
        out.append(line.substr(at, special - at));
        at = special + 1;
        if (line[special] == '"') {
            return true;
        }
        if (at == line.size() || (line[at] != '\\' && line[at] != '"')) {
            return false;
        }
        out += line[at++];
    }
}

bool ReadHexNumber(std::string_view digits, std::uint32_t& number) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    return error == std::errc() && end == digits.data() + digits.size();
}

bool ReadHexBytes(std::string_view list, std::string& bytes) {
    list = TrimStart(list);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view digits = TrimEnd(TrimStart(list.substr(0, comma)));
        std::uint32_t byte = 0;
        if (digits.empty() || digits.size() > 2 || !ReadHexNumber(digits, byte)) {
            return false;
        }
        bytes += static_cast<char>(byte);
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
    return true;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

} // namespace

Status RegFileParser::Fail(std::size_t line, std::string_view what) const {
    return Status::Failure(EINVAL, "The registry file \"" + fileName_ + "\" cannot be read: line " +
                                       std::to_string(line) + ": " + std::string(what) + ".");
}

std::size_t RegFileParser::LineCount(std::string_view text) {
    return 1 + static_cast<std::size_t>(std::ranges::count(text, '\n'));
}

Status RegFileParser::Parse(std::string_view text) {
    const std::string_view header = NextLine(text);
    if (header != "Windows Registry Editor Version 5.00" && header != "REGEDIT4") {
        return Fail(1, "the header \"Windows Registry Editor Version 5.00\" is missing");
    }
    std::size_t number = 1;
    while (!text.empty()) {
        const std::size_t first = ++number;
        std::string joined;
        if (Status parsed = ParseLine(first, LogicalLine(text, number, joined)); !parsed.ok()) {
            return parsed;
        }
    }
    return {};
}

Status RegFileParser::ParseLine(std::size_t number, std::string_view line) {
    if (line.empty() || line.front() == ';') {
        return {};
    }
    if (line.front() == '[') {
        return ParseKeyLine(number, line);
    }
    if (line.front() == '@' || line.front() == '"') {
        return ParseValueLine(number, line);
    }
    return Fail(number, "a line that is neither a key nor a value");
}

Status RegFileParser::ParseKeyLine(std::size_t number, std::string_view line) {
    if (!line.ends_with(']')) {
        return Fail(number, "a key line without its closing bracket");
    }
    const std::string_view path = line.substr(1, line.size() - 2);
    const std::size_t slash = path.find('\\');
    if (!SameName(path.substr(0, slash), "HKEY_CURRENT_USER")) {
        return Fail(number, "a key outside HKEY_CURRENT_USER");
    }
    std::vector<std::string_view> names;
    if (slash != std::string_view::npos) {
        if (Status split = SplitKeyPath(path.substr(slash + 1), names); !split.ok()) {
            return Fail(number, split.description());
        }
    }
    std::size_t shared = 0;
    while (shared < names.size() && shared < lastNames_.size() && names[shared] == lastNames_[shared]) {
        ++shared;
    }
    lastNames_.resize(shared);
    lastKeys_.resize(shared);
    current_ = shared == 0 ? &root_ : lastKeys_.back();
    for (std::size_t i = shared; i < names.size(); ++i) {
        current_ = &current_->ChildOrNew(names[i]);
        lastNames_.emplace_back(names[i]);
        lastKeys_.push_back(current_);
    }
    return {};
}

Status RegFileParser::ParseValueLine(std::size_t number, std::string_view line) {
    if (current_ == nullptr) {
        return Fail(number, "a value before the first key");
    }
    std::string name;
    std::size_t at = 1;
    if (line.front() == '"') {
        at = 0;
        if (!ReadQuoted(line, at, name)) {
            return Fail(number, "a value name without its closing quote");
        }
    }
    if (at >= line.size() || line[at] != '=') {
        return Fail(number, "a value name not followed by \"=\"");
    }
    RegValue value;
    if (Status data = ParseData(number, line.substr(at + 1), value); !data.ok()) {
        return data;
    }
    current_->SetValue(name, std::move(value));
    return {};
}

Status RegFileParser::ParseData(std::size_t number, std::string_view data, RegValue& value) const {
    if (data.starts_with('"')) {
        std::size_t at = 0;
        value.Type = RegType::String;
        if (!ReadQuoted(data, at, value.Data) || at != data.size()) {
            return Fail(number, "a text value that is not one quoted text");
        }
        return {};
    }
    if (StartsWithFolded(data, "dword:")) {
        std::uint32_t number32 = 0;
        const std::string_view digits = data.substr(6);
        if (digits.size() != 8 || !ReadHexNumber(digits, number32)) {
            return Fail(number, "a dword value that is not eight hexadecimal digits");
        }
        value.Type = RegType::Dword;
        for (int i = 0; i < 4; ++i) {
            value.Data += static_cast<char>((number32 >> (8 * i)) & 0xFF);
        }
        return {};
    }
    if (StartsWithFolded(data, "hex:")) {
        value.Type = RegType::Binary;
        if (!ReadHexBytes(data.substr(4), value.Data)) {
            return Fail(number, "a binary value that is not a list of hexadecimal bytes");
        }
        return {};
    }
    if (StartsWithFolded(data, "hex(")) {
        const std::size_t close = data.find("):");
        std::uint32_t type = 0;
        if (close == std::string_view::npos || !ReadHexNumber(data.substr(4, close - 4), type) ||
            !ReadHexBytes(data.substr(close + 2), value.Data)) {
            return Fail(number, "a \"hex(type):\" value that is not a list of hexadecimal bytes");
        }
        value.Type = static_cast<RegType>(type);
        value.AsBytes = true;
        return {};
    }
    return Fail(number, "a value of an unknown type");
}
