#pragma once

#include "registry/RegistryStore.h"

#include <memory>
#include <string>

// The current user's registry: the Windows registry on Windows; elsewhere the regedit-format file
// UserRegistryFilePath().
std::unique_ptr<RegistryStore> OpenUserRegistry();

#ifndef _WIN32
// Where the current user's store lives: $XDG_CONFIG_HOME/ievantrel/HKEY_CURRENT_USER.reg, with
// XDG_CONFIG_HOME
// ~/.config when it is unset, empty or not an absolute path.
std::string UserRegistryFilePath();
#endif
