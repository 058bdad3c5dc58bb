#pragma once

#include "forms/EngineListModel.h"
#include "forms/frmMain/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "registry/UserRegistry.h"
#include "support/RecordingShell.h"
#include "support/TempFolder.h"
#include "support/WindowControls.h"

#include <QTreeView>
#include <QtTest>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using Engines = std::vector<std::string>;

// The list file's bytes for engines named by their prefixes.
inline std::string ListBytes(const std::vector<std::string>& prefixes) {
    std::string bytes;
    for (const auto& prefix : prefixes) {
        bytes += "PREFIX=" + prefix + "\tURL=http://" + prefix + ".example/?q=%s\r\n";
    }
    return bytes;
}

// The real main window, loaded and shown, over an application folder of its own (its list holding the given
// engines, or no list file at all) and a registry store of its own.
class MainWindowFixture {
public:
    explicit MainWindowFixture(const std::optional<Engines>& prefixes) {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_.Path().string()));
        InitGlobalsForExecutable(app_.File("ievantrel"));
        Write(DefaultEngineFile, ListBytes({"x", "y", "z"}));
        if (prefixes) {
            Write(EngineFile, ListBytes(*prefixes));
        }
        window_ = std::make_unique<frmMain>(OpenUserRegistry(), shell_);
        window_->Load();
        window_->show();
        window_->activateWindow();
        if (!QTest::qWaitForWindowExposed(window_.get())) {
            qFatal("the main window did not show");
        }
    }

    frmMain& Window() { return *window_; }

    template <class Control = QWidget> Control* Find(const char* name) {
        return FindControl<Control>(*window_, name);
    }

    QTreeView* List() { return EngineListView(*window_); }
    EngineListModel* Model() { return EngineListModelOf(*window_); }

    std::vector<std::string> Prefixes() {
        std::vector<std::string> prefixes;
        for (std::size_t i = 1; i <= Model()->Count(); ++i) {
            prefixes.push_back(Model()->Row(i).Text);
        }
        return prefixes;
    }

    std::vector<bool> Checks() {
        std::vector<bool> checks;
        for (std::size_t i = 1; i <= Model()->Count(); ++i) {
            checks.push_back(Model()->Row(i).Checked);
        }
        return checks;
    }

    // Selects exactly the rows at the given 1-based positions.
    void Select(const std::vector<int>& positions) {
        List()->selectionModel()->clearSelection();
        for (const int position : positions) {
            List()->selectionModel()->select(Model()->index(position - 1, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    std::string ListFile() const {
        std::string bytes;
        return ReadWholeFile(EngineFile, bytes).ok() ? bytes : std::string("(no list file)");
    }

    // The store as another program would read it now.
    std::unique_ptr<RegistryStore> Store() const { return OpenUserRegistry(); }
    std::string StoreFile() const { return config_.File("ievantrel/HKEY_CURRENT_USER.reg"); }

    RecordingShell& Shell() { return shell_; }

private:
    static void Write(const std::string& path, const std::string& bytes) {
        if (!ReplaceFileAtomically(path, bytes).ok()) {
            qFatal("cannot write %s", path.c_str());
        }
    }

    TempFolder app_;
    TempFolder config_;
    RecordingShell shell_;
    std::unique_ptr<frmMain> window_;
};
