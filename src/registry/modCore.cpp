#include "registry/modCore.h"

#include "engines/modParse.h"
#include "registry/ListText.h"
#include "registry/RegKey.h"
#include "registry/modRegistry.h"

#include <array>
#include <optional>
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

// A prefix or key that could not be written, and why.
struct Failure {
    std::string Name;
    Status Reason;
};

struct InstallOutcome {
    std::size_t Installed = 0;
    std::vector<Failure> NotInstalled;
    std::vector<Failure> NotRemoved;
};

// The SearchUrl key as the box names it when it could not be cleared.
std::string SearchUrlKeyName() {
    std::string_view path = SearchUrlKeyPath;
    path.remove_suffix(1);
    return "HKEY_CURRENT_USER\\" + std::string(path);
}

void NoteFailure(std::vector<Failure>& failures, std::string name, const Status& reason) {
    failures.push_back({name.empty() ? std::string("(empty prefix)") : std::move(name), reason});
}

// The prefix's key as the registry tells keys apart: characters without regard to case, and one trailing
// backslash naming the same key as the prefix without it.
std::string KeyOf(std::string_view prefix) {
    if (prefix.ends_with('\\')) {
        prefix.remove_suffix(1);
    }
    const std::optional<std::string> text = ListTextToUtf8(prefix);
    return FoldName(text ? *text : prefix);
}

std::unordered_set<std::string> CheckedKeys(const EngineRows& rows) {
    std::unordered_set<std::string> keys;
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        if (rows.Row(index).Checked) {
            keys.insert(KeyOf(RowField(rows.Row(index), "PREFIX")));
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
    if (Status cleared = RemoveAllShortcuts(store); !cleared.ok()) {
        outcome.NotRemoved.push_back({SearchUrlKeyName(), cleared});
    }
    // A SearchUrl key that cannot be made fails each shortcut's write, which names the reason.
    static_cast<void>(CreateSearchUrlKey(store));
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        const EngineRow& row = rows.Row(index);
        std::string prefix(RowField(row, "PREFIX"));
        if (!row.Checked) {
            if (checkedKeys.contains(KeyOf(prefix))) {
                continue;
            }
            if (Status removed = RemoveShortcut(store, prefix); !removed.ok()) {
                NoteFailure(outcome.NotRemoved, std::move(prefix), removed);
            }
        } else if (Status written = InstallShortcut(store, prefix, RowField(row, "URL")); written.ok()) {
            ++outcome.Installed;
        } else {
            NoteFailure(outcome.NotInstalled, std::move(prefix), written);
        }
    }
    return outcome;
}

// When the store could not be read or written, no checked row was installed and the old shortcuts stay.
InstallOutcome NothingInstalled(const EngineRows& rows, const Status& reason) {
    InstallOutcome outcome;
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        if (rows.Row(index).Checked) {
            NoteFailure(outcome.NotInstalled, std::string(RowField(rows.Row(index), "PREFIX")), reason);
        }
    }
    if (outcome.NotInstalled.empty()) {
        outcome.NotRemoved.push_back({SearchUrlKeyName(), reason});
    }
    return outcome;
}

// The failures under their heading, those that failed for the same reason listed together before it.
std::string FailureSection(std::string_view heading, const std::vector<Failure>& failures) {
    if (failures.empty()) {
        return {};
    }
    std::string text = "\r\n\r\n" + std::string(heading);
    std::vector<bool> told(failures.size(), false);
    for (std::size_t first = 0; first < failures.size(); ++first) {
        if (told[first]) {
            continue;
        }
        const std::string reason = failures[first].Reason.description();
        for (std::size_t other = first; other < failures.size(); ++other) {
            if (!told[other] && failures[other].Reason.description() == reason) {
                told[other] = true;
                text += "\r\n" + failures[other].Name;
            }
        }
        text += "\r\n\r\nBecause: " + reason;
    }
    return text;
}

PromptMessage InstallReport(const InstallOutcome& outcome, std::size_t total) {
    PromptMessage message;
    message.Title = "InstallEngines()";
    message.Text = std::to_string(outcome.Installed) + " of " + std::to_string(total) +
                   " shortcuts have been installed.";
    if (outcome.NotInstalled.empty() && outcome.NotRemoved.empty()) {
        return message;
    }
    message.Icon = PromptIcon::Exclamation;
    message.Text += FailureSection("These shortcuts could not be installed:", outcome.NotInstalled);
    message.Text += FailureSection("These shortcuts could not be removed:", outcome.NotRemoved);
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
