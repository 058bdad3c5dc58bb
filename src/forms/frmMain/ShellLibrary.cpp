#include "forms/frmMain/ShellLibrary.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

ShellLibrary::ShellLibrary() : module_(LoadLibraryA("shell32.dll")) {}

ShellLibrary::~ShellLibrary() {
    if (module_ != nullptr) {
        FreeLibrary(static_cast<HMODULE>(module_));
    }
}
#else
ShellLibrary::ShellLibrary() = default;
ShellLibrary::~ShellLibrary() = default;
#endif
