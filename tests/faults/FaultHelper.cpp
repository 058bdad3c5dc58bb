// One real save of the engine list or one real install into the user's store, in a process of its own, so
// that a test can kill it, limit its file size or run two at once. Every message box is printed to standard
// output as its title and text.
//
//   FaultHelper save <program path> <engines> <label>   saves the list beside the program
//   FaultHelper install <engines> <label>               installs them into $XDG_CONFIG_HOME's store
//
// Exits 0 when the operation worked without a warning, 2 when it failed and a box said so, 1 otherwise.
#include "FaultEngines.h"
#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "platform/AppPaths.h"
#include "registry/UserRegistry.h"
#include "registry/modCore.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class PrintingPrompt final : public Prompt {
public:
    PromptAnswer Show(const PromptMessage& message) override {
        std::printf("%s\n%s\n", message.Title.c_str(), message.Text.c_str());
        std::fflush(stdout);
        warned = warned || message.Icon == PromptIcon::Exclamation || message.Icon == PromptIcon::Critical;
        return PromptAnswer::Ok;
    }

    bool warned = false;
};

int Save(const std::string& programPath, std::size_t count, const std::string& label) {
    InitGlobalsForExecutable(programPath);
    VectorEngineRows rows;
    rows.AddMany(FaultEngines(count, label));
    PrintingPrompt prompt;
    const bool saved = SaveEngines(rows, prompt);
    return saved && !prompt.warned ? 0 : !saved && prompt.warned ? 2 : 1;
}

int Install(std::size_t count, const std::string& label) {
    VectorEngineRows rows;
    rows.AddMany(FaultEngines(count, label));
    PrintingPrompt prompt;
    InstallEngines(rows, *OpenUserRegistry(), prompt);
    return prompt.warned ? 2 : 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "save" && argc == 5) {
        return Save(argv[2], std::stoul(argv[3]), argv[4]);
    }
    if (command == "install" && argc == 4) {
        return Install(std::stoul(argv[2]), argv[3]);
    }
    std::fprintf(stderr, "usage: FaultHelper save <program path> <engines> <label>\n"
                         "       FaultHelper install <engines> <label>\n");
    return 64;
}
