#include "engines/VectorEngineRows.h"
#include "engines/modParse.h"
#include "registry/RegFileStore.h"
#include "registry/modCore.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int Engines = 10'000;

class SilentPrompt final : public Prompt {
public:
    PromptAnswer Show(const PromptMessage&) override { return PromptAnswer::Ok; }
};

VectorEngineRows CheckedRows() {
    VectorEngineRows rows;
    for (int i = 0; i < Engines; ++i) {
        const std::string prefix = "engine" + std::to_string(i);
        const std::string url = "http://" + prefix + ".example.com/search?q=%s&lang=en";
        rows.Add(EngineRow{prefix, url, MakeRecordLine(prefix, url), true});
    }
    return rows;
}

// One Install of every row into a store that already holds the shortcuts of the last one: one lock, one read
// of 10,000 keys, 50,000 values written, one atomic replace.
void BM_InstallEngines(benchmark::State& state) {
    const TempFolder folder;
    RegFileStore store(folder.File("ievantrel/HKEY_CURRENT_USER.reg"));
    const VectorEngineRows rows = CheckedRows();
    SilentPrompt prompt;
    InstallEngines(rows, store, prompt);
    for (auto _ : state) {
        InstallEngines(rows, store, prompt);
    }
    state.SetItemsProcessed(state.iterations() * Engines);
}
BENCHMARK(BM_InstallEngines)->Unit(benchmark::kMillisecond);

int Run(const std::string& command) {
    return std::system((command + " </dev/null >/dev/null 2>&1").c_str());
}

double MedianInstallSeconds(const VectorEngineRows& rows, RegFileStore& store) {
    SilentPrompt prompt;
    std::vector<double> seconds;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        InstallEngines(rows, store, prompt);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::ranges::sort(seconds);
    return seconds[seconds.size() / 2];
}

// A Wine prefix kept running, and a store file holding the 10,000 shortcuts that InstallEngines wrote, with
// the median time of that Install; set up on the first repetition and ended with the program.
class WineImport {
public:
    WineImport() : store_(folder_.File("HKEY_CURRENT_USER.reg")) {
        installSeconds_ = MedianInstallSeconds(CheckedRows(), store_);
        std::string windowsPath = "Z:" + store_.Path();
        std::ranges::replace(windowsPath, '/', '\\');
        command_ = "wine regedit /S '" + windowsPath + "'";
        std::filesystem::create_directories(VANTREL_BENCH_WINEPREFIX);
        ::setenv("WINEPREFIX", VANTREL_BENCH_WINEPREFIX, 1);
        ::setenv("WINEDEBUG", "-all", 1);
        Run("wineserver -p; wine cmd /c exit");
    }
    WineImport(const WineImport&) = delete;
    WineImport& operator=(const WineImport&) = delete;
    ~WineImport() { Run("wineserver -k"); }

    bool Import() const { return Run(command_) == 0; }
    double InstallSeconds() const { return installSeconds_; }

private:
    TempFolder folder_;
    RegFileStore store_;
    double installSeconds_ = 0;
    std::string command_;
};

// Wine's registry editor importing the same 10,000 shortcuts from the store file; the first import into the
// fresh prefix is the slow one, which the median of the repetitions leaves out. The counter
// "times_InstallEngines" is its time over the median time of InstallEngines measured in the same run.
void BM_WineRegeditImport(benchmark::State& state) {
    if (Run("command -v wine") != 0) {
        state.SkipWithError("wine is not installed");
        return;
    }
    static const WineImport wine;
    double importSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!wine.Import()) {
            state.SkipWithError("wine regedit failed");
            break;
        }
        importSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["times_InstallEngines"] =
        importSeconds / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1)) /
        wine.InstallSeconds();
}
BENCHMARK(BM_WineRegeditImport)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
