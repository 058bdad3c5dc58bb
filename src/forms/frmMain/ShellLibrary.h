#pragma once

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Keeps "shell32.dll" loaded for as long as the main window lives. A failed load goes unnoticed, as the
// window can do without it.
class ShellLibrary {
public:
    ShellLibrary() : module_(LoadLibraryA("shell32.dll")) {}
    ~ShellLibrary() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    ShellLibrary(const ShellLibrary&) = delete;
    ShellLibrary& operator=(const ShellLibrary&) = delete;

private:
    HMODULE module_;
};
#else
// There is no shell32 to keep loaded outside Windows.
class ShellLibrary {};
#endif
