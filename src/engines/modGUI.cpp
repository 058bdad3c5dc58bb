#include "engines/modGUI.h"

#include "engines/modParse.h"

#include <utility>

EngineRow MakeEngineRow(std::string prefix, std::string url) {
    std::string tag = MakeRecordLine(prefix, url);
    return EngineRow{std::move(prefix), std::move(url), std::move(tag), true};
}

void AddEngineRow(EngineRows& rows, std::string_view prefix, std::string_view url) {
    rows.Add(MakeEngineRow(std::string(prefix), std::string(url)));
}

void UpdateButtons(const EngineRows& rows, ListButtons& buttons) {
    const bool enabled = rows.Count() > 0;
    buttons.SetEditSearchEngineEnabled(enabled);
    buttons.SetRemoveSearchEngineEnabled(enabled);
    buttons.SetInstallShortcutsEnabled(enabled);
}
