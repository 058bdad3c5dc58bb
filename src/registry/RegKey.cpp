#include "registry/RegKey.h"

#include "registry/UpcaseTable.h"
#include "registry/Utf16.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>

namespace {

// Where a byte that is not UTF-8 goes among the folded characters: past every code point, so it equals only
// itself.
constexpr char32_t NotText = 0x110000;

// The character as the registry compares it: its simple upper-case form, one UTF-16 unit to one. A character
// beyond the BMP is two units, which the registry compares as they are.
char32_t Upcase(char32_t code) {
    if (code < 0x80) {
        return code >= 'a' && code <= 'z' ? code - ('a' - 'A') : code;
    }
    const auto after = std::ranges::upper_bound(UpcaseRanges, code, {}, &UpcaseRange::First);
    if (code > 0xFFFF || after == UpcaseRanges.begin()) {
        return code;
    }
    const UpcaseRange& range = *std::prev(after);
    return code <= range.Last && (code - range.First) % range.Step == 0 ? code + range.Delta : code;
}

char32_t NextFolded(std::string_view name, std::size_t& at) {
    const auto byte = static_cast<unsigned char>(name[at]);
    if (byte < 0x80) {
        ++at;
        return Upcase(byte);
    }
    const std::optional<char32_t> code = NextCodePoint(name, at);
    return code ? Upcase(*code) : NotText + byte;
}

} // namespace

std::string FoldName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        const char32_t code = NextFolded(name, at);
        if (code < NotText) {
            AppendUtf8(code, folded);
        } else {
            // 0xFF, which UTF-8 never holds, marks the byte that follows as one that is not text.
            folded += '\xFF';
            folded += static_cast<char>(code - NotText);
        }
    }
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    std::size_t atA = 0;
    std::size_t atB = 0;
    while (atA < a.size() && atB < b.size()) {
        if (NextFolded(a, atA) != NextFolded(b, atB)) {
            return false;
        }
    }
    return atA == a.size() && atB == b.size();
}

std::size_t FoldedHash(std::string_view name) {
    // FNV-1a over the folded characters.
    std::uint64_t hash = 0xcbf29ce484222325;
    for (std::size_t at = 0; at < name.size();) {
        hash = (hash ^ NextFolded(name, at)) * 0x100000001b3;
    }
    return static_cast<std::size_t>(hash);
}

RegKey* RegKey::Child(std::string_view name) {
    const auto found = index_.find(FoldName(name));
    return found == index_.end() ? nullptr : &*found->second;
}

RegKey& RegKey::ChildOrNew(std::string_view name) {
    auto [found, added] = index_.try_emplace(FoldName(name));
    if (added) {
        found->second = children_.emplace(children_.end(), std::string(name));
    }
    return *found->second;
}

void RegKey::RemoveChild(std::string_view name) {
    const auto found = index_.find(FoldName(name));
    if (found != index_.end()) {
        children_.erase(found->second);
        index_.erase(found);
    }
}

const RegValue* RegKey::Value(std::string_view name) const {
    const auto found = std::ranges::find_if(
        values_, [name](const RegNamedValue& value) { return SameName(value.Name, name); });
    return found == values_.end() ? nullptr : &found->Value;
}

void RegKey::SetValue(std::string_view name, RegValue value) {
    const auto found = std::ranges::find_if(
        values_, [name](const RegNamedValue& value) { return SameName(value.Name, name); });
    if (found != values_.end()) {
        found->Value = std::move(value);
    } else {
        values_.push_back({std::string(name), std::move(value)});
    }
}
