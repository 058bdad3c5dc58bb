#pragma once

#include "engines/EngineRows.h"
#include "platform/Prompt.h"
#include "platform/Status.h"
#include "registry/RegKey.h"
#include "registry/RegistryStore.h"

#include <string>
#include <string_view>
#include <vector>

// "Software\Microsoft\Internet Explorer\SearchUrl\": every shortcut key is this followed by its prefix.
inline constexpr std::string_view SearchUrlKeyPath = "Software\\Microsoft\\Internet Explorer\\SearchUrl\\";

// Rewrites the SearchUrl key from the rows (checked rows installed, unchecked removed) in one batch and
// reports the count in the "InstallEngines()" box, naming the prefixes that could not be installed.
void InstallEngines(const EngineRows& rows, RegistryStore& store, Prompt& prompt);

// The values of a shortcut key in the order they are written: the URL as default value, then the four escape
// values.
std::vector<RegNamedValue> ShortcutValues(std::string_view url);

// Writes the shortcut key of the prefix: the URL as default value, then the four escape values.
Status InstallShortcut(RegistryStore& store, std::string_view prefix, std::string_view url);
// Deletes the shortcut key of the prefix; does nothing for an empty prefix.
Status RemoveShortcut(RegistryStore& store, std::string_view prefix);
// Deletes the SearchUrl key with every shortcut in it.
Status RemoveAllShortcuts(RegistryStore& store);
Status CreateSearchUrlKey(RegistryStore& store);
