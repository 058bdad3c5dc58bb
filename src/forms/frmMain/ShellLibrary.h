#pragma once

// Keeps "shell32.dll" loaded for as long as the main window lives (Windows; elsewhere it holds nothing). A
// failed load goes unnoticed: the window does without it.
class ShellLibrary {
public:
    ShellLibrary();
    // Frees the library on Windows, so it is not defaulted here although it is empty elsewhere.
    ~ShellLibrary(); // NOLINT(performance-trivially-destructible)
    ShellLibrary(const ShellLibrary&) = delete;
    ShellLibrary& operator=(const ShellLibrary&) = delete;

private:
    [[maybe_unused]] void* module_ = nullptr;
};
