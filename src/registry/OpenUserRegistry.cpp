#include "registry/RegistryStore.h"

#ifdef _WIN32
#include "registry/Win32RegistryStore.h"
#else
#include "registry/RegFileStore.h"
#endif

std::unique_ptr<RegistryStore> OpenUserRegistry() {
#ifdef _WIN32
    return std::make_unique<Win32RegistryStore>();
#else
    return std::make_unique<RegFileStore>(UserRegistryFilePath());
#endif
}
