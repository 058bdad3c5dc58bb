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

#include <cstdlib>
#include <memory>

// The real main window over an application folder and a store of its own, as a user's session sees it: it
// can be closed and started again over the same files.
class SessionWindow {
public:
    explicit SessionWindow(const std::string& defaultList) {
        ::setenv("XDG_CONFIG_HOME", config_.Path().c_str(), 1);
        InitGlobalsForExecutable(app_.File("ievantrel"));
        if (!ReplaceFileAtomically(DefaultEngineFile, defaultList).ok() ||
            !ReplaceFileAtomically(EngineFile, defaultList).ok()) {
            qFatal("cannot write the lists");
        }
        Start();
    }

    void Restart() {
        window_.reset();
        Start();
    }

    template <class Control = QWidget> Control* Find(const char* name) {
        return FindControl<Control>(*window_, name);
    }

    QTreeView* List() { return EngineListView(*window_); }
    EngineListModel* Model() { return EngineListModelOf(*window_); }

private:
    void Start() {
        window_ = std::make_unique<frmMain>(OpenUserRegistry(), shell_);
        window_->Load();
        window_->show();
        window_->activateWindow();
    }

    TempFolder app_;
    TempFolder config_;
    RecordingShell shell_;
    std::unique_ptr<frmMain> window_;
};
