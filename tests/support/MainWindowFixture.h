#pragma once

#include "forms/EngineListModel.h"
#include "forms/frmMain/frmMain.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "registry/UserRegistry.h"
#include "support/FileBytes.h"
#include "support/RecordingShell.h"
#include "support/TempFolder.h"
#include "support/WindowControls.h"

#include <QTreeView>
#include <QtTest>

#include <memory>
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
// engines, the default list x, y, z) and a registry store of its own.
class MainWindowFixture {
public:
    explicit MainWindowFixture(const Engines& prefixes) {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_.Path().string()));
        InitGlobalsForExecutable(app_.File("ievantrel"));
        if (!ReplaceFileAtomically(DefaultEngineFile, ListBytes({"x", "y", "z"})).ok() ||
            !ReplaceFileAtomically(EngineFile, ListBytes(prefixes)).ok()) {
            qFatal("cannot write the lists");
        }
        Restart();
    }

    // A new main window over the same files, as when the program is started again.
    void Restart() {
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
    QTreeView* List() { return Find<QTreeView>("lvwEngines"); }
    EngineListModel* Model() { return qobject_cast<EngineListModel*>(List()->model()); }

    static std::string ListFile() { return ReadBytes(EngineFile); }
    RecordingShell& Shell() { return shell_; }
    frmMain& Window() { return *window_; }

private:
    TempFolder app_;
    TempFolder config_;
    RecordingShell shell_;
    std::unique_ptr<frmMain> window_;
};
