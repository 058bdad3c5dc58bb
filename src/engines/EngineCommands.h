#pragma once

#include "engines/EngineRows.h"
#include "platform/Prompt.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The main window's commands on the engine list, free of any window: each asks through the prompt, changes
// the rows and writes the list file.

// Remove Selected: asks with the selected rows' prefixes, bottom row first; on Yes removes the rows at the
// selected positions (1-based, any order) and saves, even when nothing was selected.
// Does nothing on an empty list.
void RemoveSelectedEngines(EngineRows& rows, std::vector<std::size_t> selected, Prompt& prompt);

// Restore Engines: asks first; on Yes replaces the list file with the default list and reloads it.
void RestoreDefaultEngines(EngineRows& rows, Prompt& prompt);

// The prefix and URL the editor shows for a row, read from the row's record line.
struct EngineFields {
    std::string Prefix;
    std::string Url;
};
EngineFields EngineFieldsOf(const EngineRow& row);

// The editor's check before it closes on Okay: refuses a prefix or URL holding a TAB, CR or LF (they would
// break the record line) with a box titled `caption`, and returns whether the fields may be written.
bool EngineFieldsAllowed(const EngineFields& fields, const std::string& caption, Prompt& prompt);

// What the editor's Okay works on: its mode (0 adds, non-zero edits `CurrentRow`), the texts of its two boxes
// and its caption, which titles its refusal.
struct EngineEdit {
    int EditMode = 0;
    std::size_t CurrentRow = 0;
    std::string Prefix;
    std::string Url;
    std::string Caption;
};

// What the editor's Okay does to the list: refuses fields that EngineFieldsAllowed refuses and returns false,
// changing nothing. Otherwise edits the current row in place (keeping its check box) or appends a checked
// row, saves, and returns true, whether or not the save worked.
bool AcceptEngine(EngineRows& rows, const EngineEdit& edit, Prompt& prompt);
