#pragma once

#include "registry/RegistryStore.h"

#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A name as the registry compares it: each character in its simple upper-case form, as Windows folds key and
// value names (so "é" and "É" are one name, "ß" and "SS" two). The UTF-8 text's folded form, a byte that is
// not UTF-8 standing for itself alone.
std::string FoldName(std::string_view name);
bool SameName(std::string_view a, std::string_view b);
// A hash of the name's folded form, without building it: names that are the same name hash alike.
std::size_t FoldedHash(std::string_view name);

struct RegNamedValue {
    std::string Name;
    RegValue Value;
};

// One key of an in-memory registry tree: its name as created, its values in the order first written and its
// subkeys in the order created. Subkeys are found through a hash of their folded names, so a key with
// thousands of subkeys (a long engine list) stays fast to fill.
class RegKey {
public:
    explicit RegKey(std::string name) : name_(std::move(name)) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&&) = default;
    RegKey& operator=(RegKey&&) = default;

    const std::string& Name() const noexcept { return name_; }

    RegKey* Child(std::string_view name);
    // The subkey of that name, created when missing.
    RegKey& ChildOrNew(std::string_view name);
    void RemoveChild(std::string_view name);
    const std::list<RegKey>& Children() const noexcept { return children_; }

    const RegValue* Value(std::string_view name) const;
    void SetValue(std::string_view name, RegValue value);
    const std::vector<RegNamedValue>& Values() const noexcept { return values_; }

private:
    std::string name_;
    std::vector<RegNamedValue> values_;
    std::list<RegKey> children_;
    std::unordered_map<std::string, std::list<RegKey>::iterator> index_;
};
