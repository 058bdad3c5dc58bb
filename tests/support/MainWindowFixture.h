#pragma once

#include "forms/frmMain/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "registry/UserRegistry.h"
#include "support/FileBytes.h"
#include "support/RecordingShell.h"
#include "support/TempFolder.h"
#include "support/WindowControls.h"

#include <QtTest>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using Engines = std::vector<std::string>;

// The list file's bytes for engines named by their prefixes.
inline std::string ListBytes(const Engines& prefixes) {
    std::string bytes;
    for (const auto& prefix : prefixes) {
        bytes += "PREFIX=" + prefix + "\tURL=http://" + prefix + ".example/?q=%s\r\n";
    }
    return bytes;
}

// The real main window, loaded and shown, over an application folder of its own (its list holding the given
// engines, or no list file at all; the default list x, y, z) and a registry store of its own.
class MainWindowFixture {
public:
    explicit MainWindowFixture(const std::optional<Engines>& prefixes) {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_.Path().string()));
        InitGlobalsForExecutable(app_.File("ievantrel"));
        if (!ReplaceFileAtomically(DefaultEngineFile, ListBytes({"x", "y", "z"})).ok() ||
            (prefixes && !ReplaceFileAtomically(EngineFile, ListBytes(*prefixes)).ok())) {
            qFatal("cannot write the lists");
        }
        window_ = std::make_unique<frmMain>(OpenUserRegistry(), shell_);
        window_->Load();
        window_->show();
        window_->activateWindow();
        if (!QTest::qWaitForWindowExposed(window_.get())) {
            qFatal("the main window did not show");
        }
    }

    template <class Control = QWidget> Control* Find(const char* name) {
        return FindControl<Control>(*window_, name);
    }
    QTreeView* List() { return EngineListView(*window_); }
    EngineListModel* Model() { return EngineListModelOf(*window_); }

    Engines Prefixes() { return Each(&EngineRow::Text); }
    std::vector<bool> Checks() { return Each(&EngineRow::Checked); }

    // Selects exactly the rows at the given 1-based positions.
    void Select(const std::vector<int>& positions) {
        List()->selectionModel()->clearSelection();
        for (const int position : positions) {
            List()->selectionModel()->select(Model()->index(position - 1, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    static std::string ListFile() { return ReadBytes(EngineFile); }
    std::string StoreFile() const { return config_.File("ievantrel/HKEY_CURRENT_USER.reg"); }
    RecordingShell& Shell() { return shell_; }

private:
    template <class Value> std::vector<Value> Each(Value EngineRow::*field) {
        std::vector<Value> values;
        for (std::size_t i = 1; i <= Model()->Count(); ++i) {
            values.push_back(Model()->Row(i).*field);
        }
        return values;
    }

    TempFolder app_;
    TempFolder config_;
    RecordingShell shell_;
    std::unique_ptr<frmMain> window_;
};
