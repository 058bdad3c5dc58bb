#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "exports/EngineExport.h"
#include "support/BenchEngineList.h"
#include "support/BenchFolder.h"
#include "support/BenchPrompt.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The same 100,000 engines as the list benchmarks load, every one checked and exportable.
constexpr int EngineCount = 100000;

// One export of every row to a file, as the command line and the main window's menu run it: the format's
// bytes, the atomic replace of the file and the report.
void ExportToFile(benchmark::State& state, ExportFormat format, const char* fileName) {
    BenchFolder folder;
    VectorEngineRows rows;
    rows.AddMany(ParseEngineList(MakeEngineList(EngineCount)));
    const std::string path = (folder.Path() / fileName).string();
    BenchPrompt prompt(state, BenchPrompt::Expects::Information);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExportEnginesToFile(rows, format, path, prompt));
    }
    state.SetItemsProcessed(state.iterations() * EngineCount);
}

// The format's bytes alone, from the rows, without the file.
void MakeBytes(benchmark::State& state, ExportFormat format) {
    VectorEngineRows rows;
    rows.AddMany(ParseEngineList(MakeEngineList(EngineCount)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExportEngines(rows, format));
    }
    state.SetItemsProcessed(state.iterations() * EngineCount);
}

void MakeBookmarks(benchmark::State& state) {
    MakeBytes(state, ExportFormat::Bookmarks);
}
void MakeRegFile(benchmark::State& state) {
    MakeBytes(state, ExportFormat::Reg);
}
void MakeFirefoxPolicy(benchmark::State& state) {
    MakeBytes(state, ExportFormat::Firefox);
}

void ExportBookmarks(benchmark::State& state) {
    ExportToFile(state, ExportFormat::Bookmarks, "engines.html");
}
void ExportReg(benchmark::State& state) {
    ExportToFile(state, ExportFormat::Reg, "searchurl.reg");
}
void ExportFirefox(benchmark::State& state) {
    ExportToFile(state, ExportFormat::Firefox, "policies.json");
}

} // namespace

BENCHMARK(MakeBookmarks)->Unit(benchmark::kMillisecond);
BENCHMARK(MakeRegFile)->Unit(benchmark::kMillisecond);
BENCHMARK(MakeFirefoxPolicy)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportBookmarks)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportReg)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportFirefox)->Unit(benchmark::kMillisecond);
