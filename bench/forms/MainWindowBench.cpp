#include "controls/TahomaFont.h"
#include "engines/EngineCommands.h"
#include "engines/modFileIO.h"
#include "forms/EngineListModel.h"
#include "forms/SelectedRows.h"
#include "forms/frmMain/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "registry/UserRegistry.h"
#include "support/BenchEngineList.h"
#include "support/BenchFolder.h"
#include "support/BenchPrompt.h"

#include <QAction>
#include <QApplication>
#include <QItemSelection>
#include <QTreeView>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int ManyEngines = 100000;

// A throwaway application folder holding the list file and the registry store, removed afterwards.
class MainWindowFolder {
public:
    explicit MainWindowFolder(const std::string& list) {
        ::setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1);
        if (!ReplaceFileAtomically(EngineFile, list).ok()) {
            std::abort();
        }
    }

private:
    BenchFolder folder_;
};

class NoShell final : public Shell {
public:
    void Open(const ShellOpenRequest&) override {}
};

// The main window's engine list and the model behind it.
QTreeView* EngineList(frmMain& window) {
    auto* view = window.findChild<QTreeView*>(QStringLiteral("lvwEngines"));
    if (view == nullptr || qobject_cast<EngineListModel*>(view->model()) == nullptr) {
        std::abort();
    }
    return view;
}
EngineListModel& EngineListModelOf(frmMain& window) {
    return *qobject_cast<EngineListModel*>(EngineList(window)->model());
}

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

void MainWindowWithDefaultList(benchmark::State& state) {
    std::string list;
    if (!ReadWholeFile(VANTREL_DEFAULT_LIST, list).ok()) {
        state.SkipWithError("no default list");
        return;
    }
    MainWindowFolder folder(list);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShowMainWindow().get());
    }
}

void LoadAndFirstPaint(benchmark::State& state) {
    MainWindowFolder folder(MakeEngineList(ManyEngines));
    for (auto _ : state) {
        const auto window = ShowMainWindow();
        benchmark::DoNotOptimize(EngineList(*window)->model()->rowCount());
    }
}

void SelectionItem(benchmark::State& state, const char* item) {
    MainWindowFolder folder(MakeEngineList(ManyEngines));
    const auto window = ShowMainWindow();
    QAction* action = window->findChild<QAction*>(QLatin1String(item));
    if (action == nullptr) {
        state.SkipWithError("no such menu item");
        return;
    }
    for (auto _ : state) {
        action->trigger();
        EngineList(*window)->viewport()->repaint();
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
    MainWindowFolder folder(list);
    const auto window = ShowMainWindow();
    QTreeView* view = EngineList(*window);
    EngineListModel& model = EngineListModelOf(*window);
    BenchPrompt prompt(state, BenchPrompt::Expects::YesNoQuestion);
    for (auto _ : state) {
        state.PauseTiming();
        model.Replace(ParseEngineList(list));
        QItemSelection selection;
        for (int row = 0; row < ManyEngines; row += 2) {
            selection.select(model.index(row, 0), model.index(row, 1));
        }
        view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        state.ResumeTiming();

        RemoveSelectedEngines(model, SelectedRowPositions(*view->selectionModel()), prompt);
        view->viewport()->repaint();
        if (model.Count() != ManyEngines / 2) {
            state.SkipWithError("rows were not removed");
        }
    }
}

} // namespace

// Each runs as the command line says: scripts/bench.sh asks for the repetitions its medians come from, the
// test command's smoke run for one pass of each.
BENCHMARK(MainWindowWithDefaultList)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(SelectAll)->Unit(benchmark::kMillisecond);
BENCHMARK(SelectInvert)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveHalfOfTheRows)->Unit(benchmark::kMillisecond);

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
