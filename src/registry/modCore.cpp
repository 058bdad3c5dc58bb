#include "registry/modCore.h"

#include "engines/modParse.h"
#include "registry/RegKey.h"
#include "registry/modRegistry.h"

#include <array>
#include <unordered_set>

namespace {

struct EscapeValue {
    std::string_view Name;
    std::string_view Data;
};

// How each character of the search text goes into the URL, in the order the values are written.
constexpr std::array<EscapeValue, 4> EscapeValues = {{{" ", "+"}, {"%", "%25"}, {"&", "%26"}, {"+", "%2B"}}};

std::string ShortcutKeyPath(std::string_view prefix) {
    return std::string(SearchUrlKeyPath) + std::string(prefix);
}

std::string FieldOf(const EngineRow& row, std::string_view key) {
    return GetField(row.Tag, key, "\t", "=", "");
}

struct InstallOutcome {
    std::size_t Installed = 0;
    std::vector<std::string> Failed;
    Status Reason; // the first failure
};

void NoteFailure(InstallOutcome& outcome, std::string prefix, const Status& reason) {
    if (outcome.Failed.empty()) {
        outcome.Reason = reason;
    }
    outcome.Failed.push_back(std::move(prefix));
}

// The prefix's key as the registry tells keys apart: letters without regard to case, and one trailing
// backslash naming the same key as the prefix without it.
std::string KeyOf(std::string_view prefix) {
    if (prefix.ends_with('\\')) {
        prefix.remove_suffix(1);
    }
    return FoldName(prefix);
}

std::unordered_set<std::string> CheckedKeys(const EngineRows& rows) {
    std::unordered_set<std::string> keys;
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        if (rows.Row(index).Checked) {
            keys.insert(KeyOf(FieldOf(rows.Row(index), "PREFIX")));
        }
    }
    return keys;
}

InstallOutcome InstallRows(const EngineRows& rows, RegistryStore& store) {
    InstallOutcome outcome;
    // An unchecked row that names the key of a checked row ("g" and "G") leaves it: every checked prefix
    // ends up installed, wherever its rows stand in the list.
    const std::unordered_set<std::string> checkedKeys = CheckedKeys(rows);
    // A tree or key that could not be cleared or made shows up below, as the shortcuts that could not be
    // written.
    RemoveAllShortcuts(store);
    CreateSearchUrlKey(store);
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        const EngineRow& row = rows.Row(index);
        std::string prefix = FieldOf(row, "PREFIX");
        if (!row.Checked) {
            if (!checkedKeys.contains(KeyOf(prefix))) {
                RemoveShortcut(store, prefix);
            }
        } else if (Status written = InstallShortcut(store, prefix, FieldOf(row, "URL")); written.ok()) {
            ++outcome.Installed;
        } else {
            NoteFailure(outcome, std::move(prefix), written);
        }
    }
    return outcome;
}

// When the store could not be read or written, no checked row was installed.
InstallOutcome NothingInstalled(const EngineRows& rows, const Status& reason) {
    InstallOutcome outcome;
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        if (rows.Row(index).Checked) {
            NoteFailure(outcome, FieldOf(rows.Row(index), "PREFIX"), reason);
        }
    }
    return outcome;
}

PromptMessage InstallReport(const InstallOutcome& outcome, std::size_t total) {
    PromptMessage message;
    message.Title = "InstallEngines()";
    message.Text = std::to_string(outcome.Installed) + " of " + std::to_string(total) +
                   " shortcuts have been installed.";
    if (outcome.Failed.empty()) {
        return message;
    }
    message.Icon = PromptIcon::Exclamation;
    message.Text += "\r\n\r\nThese shortcuts could not be installed:";
    for (const std::string& prefix : outcome.Failed) {
        message.Text += "\r\n" + prefix;
    }
    message.Text += "\r\n\r\nBecause: " + outcome.Reason.description();
    return message;
}

} // namespace

void InstallEngines(const EngineRows& rows, RegistryStore& store, Prompt& prompt) {
    const std::size_t total = rows.Count();
    InstallOutcome outcome;
    RegistryBatch batch(store);
    if (batch.Started().ok()) {
        outcome = InstallRows(rows, store);
    }
    if (Status committed = batch.Commit(); !committed.ok()) {
        outcome = NothingInstalled(rows, committed);
    }
    prompt.Show(InstallReport(outcome, total));
}

std::vector<RegNamedValue> ShortcutValues(std::string_view url) {
    std::vector<RegNamedValue> values{{"", {RegType::String, std::string(url)}}};
    for (const EscapeValue& escape : EscapeValues) {
        values.push_back({std::string(escape.Name), {RegType::String, std::string(escape.Data)}});
    }
    return values;
}

Status InstallShortcut(RegistryStore& store, std::string_view prefix, std::string_view url) {
    const std::string path = ShortcutKeyPath(prefix);
    for (const RegNamedValue& value : ShortcutValues(url)) {
        if (Status written =
                WriteStringValue(store, RegRoot::CurrentUser, path, value.Name, value.Value.Data);
            !written.ok()) {
            return written;
        }
    }
    return {};
}

Status RemoveShortcut(RegistryStore& store, std::string_view prefix) {
    // The empty prefix names the SearchUrl key itself, which is not one shortcut.
    if (prefix.empty()) {
        return {};
    }
    return DeleteKey(store, RegRoot::CurrentUser, ShortcutKeyPath(prefix));
}

Status RemoveAllShortcuts(RegistryStore& store) {
    return DeleteKeyTree(store, RegRoot::CurrentUser, SearchUrlKeyPath);
}

Status CreateSearchUrlKey(RegistryStore& store) {
    return EnsureKey(store, RegRoot::CurrentUser, SearchUrlKeyPath);
}
