#pragma once

#include "engines/EngineCommands.h"
#include "engines/modGUI.h"
#include "forms/FitCheck.h"
#include "forms/QtPrompt.h"
#include "forms/frmMain/ShellLibrary.h"
#include "platform/modShellExecute.h"
#include "registry/RegistryStore.h"

#include <QWidget>

#include <cstddef>
#include <memory>
#include <vector>

class EngineListModel;
class QMenu;

namespace Ui {
class frmMain;
}

// The program's one top-level window: the engine list, the commands on it and on the registry, and the links
// to the About window, the search fix and the default list. Constructing it initialises it; Load() fills it.
class frmMain final : public QWidget, private ListButtons {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    // `store` is the registry the commands change; `shell` opens the About window's pages.
    frmMain(std::unique_ptr<RegistryStore> store, Shell& shell, QWidget* parent = nullptr);
    ~frmMain() override;

    // Sets the caption, reads the engine list (reporting a list that cannot be read) and sets the buttons.
    void Load();

    // Checks that the texts of this window, of the editor in both its modes and of About fit where they are
    // shown, opening each window in turn.
    std::vector<FitReport> CheckWindowsFit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpControls();
    void SetUpList();
    void CreateMenu();
    void SetTabOrder();
    void ConnectHandlers();
    void CentreOnScreen();

    void SetEditSearchEngineEnabled(bool enabled) override;
    void SetRemoveSearchEngineEnabled(bool enabled) override;
    void SetInstallShortcutsEnabled(bool enabled) override;

    void cmdInstallShortcuts_Click();
    void cmdRemoveShortcuts_Click();
    void cmdRemoveSearchEngine_Click();
    void cmdAddSearchEngine_Click();
    void cmdEditSearchEngine_Click();
    void EditEngine(int editMode, std::size_t currentRow, const EngineFields& shown);
    void cmdSelectionMode_Click();
    void lvwEngines_DblClick();
    void lnkAbout_MouseUp();
    void lnkIESearchFix_MouseUp();
    void lnkRestoreEngines_MouseUp();
    void mSELECTNONE_Click();
    void mSELECTALL_Click();
    void mSELECTINVERT_Click();

    std::size_t CurrentPosition() const;

    ShellLibrary shellLibrary_;
    std::unique_ptr<RegistryStore> store_;
    Shell& shell_;
    QtPrompt prompt_;
    EngineListModel* engines_;

    std::unique_ptr<Ui::frmMain> ui_;
    QMenu* mnuSELECTIONMODE;
};
