#pragma once

#include "platform/Prompt.h"
#include "registry/RegistryStore.h"

// The main window's commands on the registry, free of any window: each asks through the prompt where it must,
// changes the store and reports what happened.

// Remove: deletes every search shortcut, then reports that they are gone, or why they are not.
void RemoveShortcutsCommand(RegistryStore& store, Prompt& prompt);

// IE Search Fix: asks first; on Yes writes the browser's search settings back and reports the fix as applied,
// or names every setting that was not written.
void SearchFixCommand(RegistryStore& store, Prompt& prompt);
