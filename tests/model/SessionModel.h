#pragma once

#include "engines/EngineRows.h"
#include "engines/modGUI.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// What a user's session must leave behind, kept the plain way: the rows on screen, the rows last written to
// the list file, the shortcuts in the store and whether the search fix was applied.
struct SessionModel {
    std::vector<EngineRow> Rows;
    std::vector<EngineRow> Saved;
    std::vector<EngineRow> Defaults;
    bool SearchUrlExists = false;
    // Shortcut key name (prefixes here are lower case, so no two differ in case only) to its URL.
    std::map<std::string, std::string> Shortcuts;
    bool FixApplied = false;

    void Save() { Saved = Rows; }

    void Add(const std::string& prefix, const std::string& url) {
        Rows.push_back(MakeEngineRow(prefix, url));
        Save();
    }

    void Edit(std::size_t position, const std::string& prefix, const std::string& url) {
        const bool checked = Rows[position - 1].Checked;
        Rows[position - 1] = MakeEngineRow(prefix, url);
        Rows[position - 1].Checked = checked;
        Save();
    }

    void RemoveSelected(const std::vector<std::size_t>& positions) {
        std::vector<EngineRow> kept;
        for (std::size_t i = 0; i < Rows.size(); ++i) {
            if (std::find(positions.begin(), positions.end(), i + 1) == positions.end()) {
                kept.push_back(Rows[i]);
            }
        }
        Rows = kept;
        Save();
    }

    // Reading the list file gives every saved engine again, all checked.
    void Reload() {
        Rows = Saved;
        for (EngineRow& row : Rows) {
            row.Checked = true;
        }
    }

    void Restore() {
        Saved = Defaults;
        Reload();
    }

    // The shortcuts are rebuilt from the checked rows, the last of a prefix giving its URL; an unchecked row
    // takes away no key that a checked row writes.
    void Install() {
        SearchUrlExists = true;
        Shortcuts.clear();
        for (const EngineRow& row : Rows) {
            if (row.Checked) {
                Shortcuts[row.Text] = row.SubItem1;
            }
        }
    }

    std::size_t CheckedCount() const {
        return static_cast<std::size_t>(
            std::count_if(Rows.begin(), Rows.end(), [](const EngineRow& row) { return row.Checked; }));
    }

    void RemoveShortcuts() {
        SearchUrlExists = false;
        Shortcuts.clear();
    }

    void ApplyFix() {
        SearchUrlExists = true;
        FixApplied = true;
    }
};
