#include "controls/TahomaFont.h"
#include "engines/EngineCommands.h"
#include "engines/modFileIO.h"
#include "forms/EngineListModel.h"
#include "forms/SelectedRows.h"
#include "forms/frmMain/frmMain.h"
#include "platform/AtomicFile.h"
#include "startup/AppPaths.h"

#include <QAction>
#include <QApplication>
#include <QItemSelection>
#include <QTreeView>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

constexpr int ManyEngines = 100000;

// A list of `count` engines of realistic shape, about 100 bytes a line.
std::string MakeEngineList(int count) {
    std::mt19937 random(42);
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes.append("PREFIX=e").append(std::to_string(i));
        bytes.append("\tURL=https://search").append(std::to_string(random() % 100000));
        bytes.append(".example.com/results/web/index.html?lang=en&safe=off&q=%s\r\n");
    }
    return bytes;
}

// A throwaway application folder holding the list file and the registry store, removed afterwards.
class BenchFolder {
public:
    explicit BenchFolder(const std::string& list)
        : path_(std::filesystem::temp_directory_path() /
                ("vantrel-bench-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
        ::setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
        InitGlobalsForExecutable((path_ / "ievantrel").string());
        if (!ReplaceFileAtomically(EngineFile, list).ok()) {
            std::abort();
        }
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

class NoShell final : public Shell {
public:
    void Open(const ShellOpenRequest&) override {}
};

// Answers every question Yes; any other box means the benchmark went wrong.
class YesPrompt final : public Prompt {
public:
    explicit YesPrompt(benchmark::State& state) : state_(state) {}
    PromptAnswer Show(const PromptMessage& message) override {
        if (message.Buttons != PromptButtons::YesNo) {
            state_.SkipWithError(message.Text.c_str());
        }
        return PromptAnswer::Yes;
    }

private:
    benchmark::State& state_;
};

class NoButtons final : public ListButtons {
public:
    void SetEditSearchEngineEnabled(bool) override {}
    void SetRemoveSearchEngineEnabled(bool) override {}
    void SetInstallShortcutsEnabled(bool) override {}
};

// Loads and shows the main window, and returns once it has been painted.
std::unique_ptr<frmMain> ShowMainWindow() {
    static NoShell shell;
    auto window = std::make_unique<frmMain>(OpenUserRegistry(), shell);
    window->Load();
    window->show();
    while (window->windowHandle() == nullptr || !window->windowHandle()->isExposed()) {
        QApplication::processEvents();
    }
    window->repaint();
    return window;
}

QTreeView* List(frmMain& window) {
    return window.findChild<QTreeView*>(QStringLiteral("lvwEngines"));
}

void MainWindowWithDefaultList(benchmark::State& state) {
    std::string list;
    if (!ReadWholeFile(VANTREL_DEFAULT_LIST, list).ok()) {
        state.SkipWithError("no default list");
        return;
    }
    BenchFolder folder(list);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShowMainWindow().get());
    }
}

void LoadAndFirstPaint(benchmark::State& state) {
    BenchFolder folder(MakeEngineList(ManyEngines));
    for (auto _ : state) {
        const auto window = ShowMainWindow();
        benchmark::DoNotOptimize(List(*window)->model()->rowCount());
    }
}

void SelectionItem(benchmark::State& state, const char* item) {
    BenchFolder folder(MakeEngineList(ManyEngines));
    const auto window = ShowMainWindow();
    QAction* action = window->findChild<QAction*>(QLatin1String(item));
    for (auto _ : state) {
        action->trigger();
        List(*window)->viewport()->repaint();
    }
}

void SelectAll(benchmark::State& state) {
    SelectionItem(state, "mSELECTALL");
}
void SelectInvert(benchmark::State& state) {
    SelectionItem(state, "mSELECTINVERT");
}

// Every other row selected, the worst shape for the selection, then Remove Selected answered Yes: the rows
// go, the view redraws and the list file is saved.
void RemoveHalfOfTheRows(benchmark::State& state) {
    const std::string list = MakeEngineList(ManyEngines);
    BenchFolder folder(list);
    const auto window = ShowMainWindow();
    QTreeView* view = List(*window);
    auto* model = qobject_cast<EngineListModel*>(view->model());
    YesPrompt prompt(state);
    NoButtons buttons;
    for (auto _ : state) {
        state.PauseTiming();
        model->Clear();
        model->AddMany(ParseEngineList(list));
        QItemSelection selection;
        for (int row = 0; row < ManyEngines; row += 2) {
            selection.select(model->index(row, 0), model->index(row, 1));
        }
        view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        state.ResumeTiming();

        RemoveSelectedEngines(*model, SelectedRowPositions(*view->selectionModel()), buttons, prompt);
        view->viewport()->repaint();
        if (model->Count() != ManyEngines / 2) {
            state.SkipWithError("rows were not removed");
        }
    }
}

} // namespace

BENCHMARK(MainWindowWithDefaultList)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(LoadAndFirstPaint)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(SelectAll)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(SelectInvert)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(RemoveHalfOfTheRows)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    RegisterTahoma();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
