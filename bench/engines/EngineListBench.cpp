#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "platform/AppPaths.h"
#include "support/BenchEngineList.h"
#include "support/BenchFolder.h"
#include "support/BenchPrompt.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

// Engines in the benchmarks' list: about 10 MB of list file.
constexpr int EngineCount = 100000;

const std::string& EngineList() {
    static const std::string bytes = MakeEngineList(EngineCount);
    return bytes;
}

void ParseIntoRows(benchmark::State& state) {
    const std::string& bytes = EngineList();
    for (auto _ : state) {
        VectorEngineRows rows;
        rows.AddMany(ParseEngineList(bytes));
        benchmark::DoNotOptimize(rows.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void LoadFromFile(benchmark::State& state) {
    BenchFolder folder;
    std::ofstream(EngineFile, std::ios::binary) << EngineList();
    BenchPrompt prompt(state);
    VectorEngineRows rows;
    for (auto _ : state) {
        LoadEngines(rows, prompt);
        benchmark::DoNotOptimize(rows.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * EngineList().size()));
}

void SaveToFile(benchmark::State& state) {
    BenchFolder folder;
    VectorEngineRows rows;
    rows.AddMany(ParseEngineList(EngineList()));
    BenchPrompt prompt(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveEngines(rows, prompt));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * EngineList().size()));
}

} // namespace

BENCHMARK(ParseIntoRows)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFromFile)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond);
