#include "registry/UserRegistry.h"

#ifdef _WIN32
#include "registry/Win32RegistryStore.h"
#else
#include "registry/RegFileStore.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#endif

std::unique_ptr<RegistryStore> OpenUserRegistry() {
#ifdef _WIN32
    return std::make_unique<Win32RegistryStore>();
#else
    return std::make_unique<RegFileStore>(UserRegistryFilePath());
#endif
}

#ifndef _WIN32
namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return home;
    }
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

} // namespace

std::string UserRegistryFilePath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string folder =
        configHome != nullptr && configHome[0] == '/' ? std::string(configHome) : HomeFolder() + "/.config";
    return folder + "/ievantrel/HKEY_CURRENT_USER.reg";
}
#endif
