#pragma once

#include "engines/EngineRows.h"

#include <string>
#include <string_view>

// The three main-window buttons that are enabled exactly when the list has rows.
class ListButtons {
public:
    virtual ~ListButtons() = default;
    virtual void SetEditSearchEngineEnabled(bool enabled) = 0;
    virtual void SetRemoveSearchEngineEnabled(bool enabled) = 0;
    virtual void SetInstallShortcutsEnabled(bool enabled) = 0;
};

// The checked row for an engine: its prefix, its URL and its record line as the Tag.
EngineRow MakeEngineRow(std::string prefix, std::string url);

// Appends one checked row for the engine, with its record line as the row's Tag.
void AddEngineRow(EngineRows& rows, std::string_view prefix, std::string_view url);

// Enables Edit Search Engine, Remove Selected and Install when there are rows, disables them when there are
// none.
void UpdateButtons(const EngineRows& rows, ListButtons& buttons);
