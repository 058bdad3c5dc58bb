// Record lines: SplitString cuts and joins back, GetField agrees with a field-by-field reading of the line,
// and a line rebuilt by MakeRecordLine reads back the prefix and URL it was made from.
#include "engines/modParse.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter) {
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        joined.append(i == 0 ? std::string_view() : delimiter).append(pieces[i]);
    }
    return joined;
}

std::size_t Occurrences(std::string_view text, std::string_view delimiter) {
    std::size_t count = 0;
    for (std::size_t at = text.find(delimiter); at != std::string_view::npos;
         at = text.find(delimiter, at + delimiter.size())) {
        ++count;
    }
    return count;
}

void CheckSplit(std::string_view text, std::string_view delimiter) {
    const std::vector<std::string> pieces = SplitString(text, delimiter);
    if (delimiter.empty()) {
        Require(pieces.size() == 1 && pieces[0] == text);
        return;
    }
    Require(pieces.size() == Occurrences(text, delimiter) + 1);
    Require(Join(pieces, delimiter) == text);
}

// The field's value read the long way: every field split off, the first one without "=" refusing the line.
std::string ReadField(std::string_view line, std::string_view key) {
    if (line.empty()) {
        return {};
    }
    const std::vector<std::string> fields = SplitString(line, "\t");
    if (fields[0].find('=') == std::string::npos) {
        return "default";
    }
    for (const std::string& field : fields) {
        const std::size_t equals = field.find('=');
        const std::string name = equals == std::string::npos ? std::string() : field.substr(0, equals);
        if (name == key) {
            const std::string value = equals == std::string::npos ? std::string() : field.substr(equals + 1);
            return value.empty() ? "default" : value;
        }
    }
    return "default";
}

bool HoldsLineBreakOrTab(std::string_view text) {
    return text.find_first_of("\t\r\n") != std::string_view::npos;
}

void CheckRebuiltLine(std::string_view prefix, std::string_view url) {
    if (HoldsLineBreakOrTab(prefix) || HoldsLineBreakOrTab(url)) {
        return;
    }
    const std::string line = MakeRecordLine(prefix, url);
    Require(GetField(line, "PREFIX", "\t", "=", "") == prefix);
    Require(GetField(line, "URL", "\t", "=", "") == url);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first byte chooses a delimiter length of 0 to 3 taken from the bytes that follow it.
    if (!input.empty()) {
        const std::size_t length = std::min<std::size_t>(static_cast<std::uint8_t>(input[0]) % 4, size - 1);
        CheckSplit(input.substr(1 + length), input.substr(1, length));
    }
    CheckSplit(input, "\t");
    for (const std::string_view key : {"PREFIX", "URL", ""}) {
        Require(GetField(input, key, "\t", "=", "default") == ReadField(input, key));
    }
    // A NUL byte, when there is one, parts the prefix from the URL.
    const std::size_t nul = input.find('\0');
    CheckRebuiltLine(input.substr(0, nul), nul == std::string_view::npos ? "" : input.substr(nul + 1));
    return 0;
}
