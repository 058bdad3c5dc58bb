#include "app/CommandLine.h"

#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "exports/EngineExport.h"
#include "platform/AppPaths.h"
#include "registry/RegistryCommands.h"
#include "registry/UserRegistry.h"
#include "registry/modCore.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include "platform/PathText.h"

#include <windows.h>

#include <memory>
#include <shellapi.h>
#endif

namespace {

constexpr std::string_view Usage =
    "Usage: ievantrel [/install | /remove | /searchfix | /export FORMAT FILE]\n"
    "  /install             installs every engine of the list as a shortcut\n"
    "  /remove              removes every search shortcut\n"
    "  /searchfix           applies the IE Search Fix\n"
    "  /export FORMAT FILE  writes the engines to FILE; FORMAT is bookmarks, reg,\n"
    "                       firefox or chrome\n"
    "Each option may also be written with -- (--install, ...). With no option the\n"
    "window opens.\n";

void Print(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

std::string WithNewLines(std::string_view text) {
    std::string out;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n")) {
        out += text.substr(0, at);
        out += '\n';
        text.remove_prefix(at + 2);
    }
    return out += text;
}

// Prints every box instead of showing it and answers its question with Yes: the user asked for the command by
// name. Remembers whether any box reported a failure.
class PrintingPrompt final : public Prompt {
public:
    PromptAnswer Show(const PromptMessage& message) override {
        if (message.Buttons == PromptButtons::YesNo) {
            return PromptAnswer::Yes;
        }
        const std::string text = WithNewLines(message.Text) + '\n';
        Print(stdout, text);
        if (message.Icon == PromptIcon::Exclamation || message.Icon == PromptIcon::Critical) {
            Print(stderr, text);
            failed_ = true;
        }
        return PromptAnswer::Ok;
    }

    bool Failed() const noexcept { return failed_; }

private:
    bool failed_ = false;
};

// The option's name without its "/" or "--", or nothing when the argument is not an option.
std::optional<std::string> OptionName(std::string_view argument) {
    if (argument.starts_with("--")) {
        return std::string(argument.substr(2));
    }
    if (argument.starts_with('/')) {
        return std::string(argument.substr(1));
    }
    return std::nullopt;
}

#ifdef _WIN32
// A program built for the window has no console of its own: print to the one that started it, unless the
// output already goes somewhere (a file or a pipe).
void UseParentConsole() {
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN ||
        !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    std::FILE* ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    freopen_s(&ignored, "CONOUT$", "w", stderr);
}
#endif

// The arguments after the program's name. On Windows they are read from the wide command line, so that a file
// name outside the ANSI code page arrives whole, in the UTF-8 of the program's paths.
std::vector<std::string> ArgumentsOf(int argc, char* argv[]) {
#ifdef _WIN32
    int count = 0;
    const std::unique_ptr<LPWSTR, HLOCAL (*)(HLOCAL)> wide(CommandLineToArgvW(GetCommandLineW(), &count),
                                                           LocalFree);
    if (wide != nullptr) {
        std::vector<std::string> arguments;
        for (int i = 1; i < count; ++i) {
            arguments.push_back(Utf8FromWide(wide.get()[i]));
        }
        return arguments;
    }
#endif
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

int UsageError() {
    Print(stderr, Usage);
    return 2;
}

} // namespace

std::optional<int> RunCommandLine(int argc, char* argv[]) {
    const std::vector<std::string> arguments = ArgumentsOf(argc, argv);
    if (arguments.empty()) {
        return std::nullopt;
    }
#ifdef _WIN32
    UseParentConsole();
#endif
    const std::optional<std::string> option = OptionName(arguments.front());
    if (!option) {
        return UsageError();
    }
    if ((*option == "?" || *option == "help") && arguments.size() == 1) {
        Print(stdout, Usage);
        return 0;
    }
    std::optional<ExportFormat> format;
    if (*option == "export") {
        if (arguments.size() != 3 || !(format = ExportFormatNamed(arguments[1])) || arguments[2].empty()) {
            return UsageError();
        }
    } else if ((*option != "install" && *option != "remove" && *option != "searchfix") ||
               arguments.size() != 1) {
        return UsageError();
    }
    InitGlobals();
    PrintingPrompt prompt;
    if (*option == "remove") {
        RemoveShortcutsCommand(*OpenUserRegistry(), prompt);
    } else if (*option == "searchfix") {
        SearchFixCommand(*OpenUserRegistry(), prompt);
    } else {
        VectorEngineRows rows;
        LoadEngines(rows, prompt);
        if (prompt.Failed()) {
            return 1;
        }
        if (format) {
            ExportEnginesToFile(rows, *format, arguments[2], prompt);
        } else {
            InstallEngines(rows, *OpenUserRegistry(), prompt);
        }
    }
    return prompt.Failed() ? 1 : 0;
}
