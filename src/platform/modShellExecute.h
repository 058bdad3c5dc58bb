#pragma once

#include <cstdint>
#include <string>

// A window handle as the shell takes it; 0 for none.
using WindowHandle = std::uintptr_t;

// One request to open a document or address with its default program.
struct ShellOpenRequest {
    std::string File;
    std::string Parameters;
    WindowHandle Owner = 0;
    int ShowCommand = 1;
    std::string WorkingFolder;
    bool Wait = false;

    bool operator==(const ShellOpenRequest&) const = default;
};

// Opens the file or address with the shell's "open" verb (Windows) or xdg-open (elsewhere). Reports nothing.
// The texts are UTF-8, as the program's paths are (see PathText.h).
void ShellOpen(const std::string& file, const std::string& parameters, WindowHandle owner, int showCommand,
               const std::string& workingFolder, bool wait);

// What the windows open things through: the system shell in the program, a recorder in tests.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void Open(const ShellOpenRequest& request) = 0;
};

// The shell that calls ShellOpen.
class SystemShell final : public Shell {
public:
    void Open(const ShellOpenRequest& request) override;
    // The one instance the program uses.
    static SystemShell& Instance();
};
