#include "registry/RegKey.h"

#include <algorithm>

namespace {

char FoldChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string FoldName(std::string_view name) {
    std::string folded(name);
    std::ranges::transform(folded, folded.begin(), FoldChar);
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return FoldChar(x) == FoldChar(y); });
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
