#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "startup/AppPaths.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr int EngineCount = 100000;

// A list of EngineCount engines of realistic shape, about 100 bytes a line: 10 MB in all.
std::string MakeEngineList() {
    std::mt19937 random(42);
    std::string bytes;
    for (int i = 0; i < EngineCount; ++i) {
        bytes.append("PREFIX=e").append(std::to_string(i));
        bytes.append("\tURL=https://search").append(std::to_string(random() % 100000));
        bytes.append(".example.com/results/web/index.html?lang=en&safe=off&q=%s\r\n");
    }
    return bytes;
}

const std::string& EngineList() {
    static const std::string bytes = MakeEngineList();
    return bytes;
}

// A throwaway application folder for the list file, removed when the benchmark ends.
class BenchFolder {
public:
    BenchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("vantrel-bench-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
        InitGlobalsForExecutable((path_ / "ievantrel").string());
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

private:
    std::filesystem::path path_;
};

// Shows nothing; a benchmark that meets a message box has failed.
class FailingPrompt final : public Prompt {
public:
    explicit FailingPrompt(benchmark::State& state) : state_(state) {}
    PromptAnswer Show(const PromptMessage& message) override {
        state_.SkipWithError(message.Text.c_str());
        return PromptAnswer::Ok;
    }

private:
    benchmark::State& state_;
};

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
    FailingPrompt prompt(state);
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
    FailingPrompt prompt(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveEngines(rows, prompt));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * EngineList().size()));
}

} // namespace

BENCHMARK(ParseIntoRows)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(LoadFromFile)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
