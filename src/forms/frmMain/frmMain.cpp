#include "forms/frmMain/frmMain.h"

#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/TahomaFont.h"
#include "engines/EngineCommands.h"
#include "engines/modFileIO.h"
#include "forms/EngineListModel.h"
#include "forms/Local8Bit.h"
#include "forms/Placement.h"
#include "forms/ReturnPressesButton.h"
#include "forms/SelectedRows.h"
#include "forms/frmAbout/frmAbout.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "forms/frmMain/EngineListMenu.h"
#include "platform/VersionText.h"
#include "platform/modWinXP.h"
#include "registry/RegistryCommands.h"
#include "registry/modCore.h"
#include "ui_frmMain.h"

#include <QAction>
#include <QCursor>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

namespace {

struct EditorTexts {
    QString Caption;
    QString Body;
};

// The editor's caption (its title too) and explanation, by its mode: 0 adds an engine, 1 edits one.
const EditorTexts EditorModes[] = {
    {QStringLiteral("Add New Search Engine"),
     QStringLiteral(
         "Enter the prefix you would like to use for this new search engine below, not forgetting the "
         "%s code. See ReadMe file for further details.")},
    {QStringLiteral("Edit Search Engine"),
     QStringLiteral(
         "Use this window to edit the selected search engine. Once you are happy with the changes, "
         "click on Okay. Remember to click Install in the main window to perform the update.")}};

} // namespace

frmMain::frmMain(std::unique_ptr<RegistryStore> store, Shell& shell, QWidget* parent)
    : QWidget(parent), store_(std::move(store)), shell_(shell), prompt_(this),
      engines_(new EngineListModel(this)), ui_(std::make_unique<Ui::frmMain>()) {
    // Once the window is up: on Wine, starting the common controls' library delays the window by some 30 ms,
    // and none of the windows draws a common control.
    QTimer::singleShot(0, this, [] { InitVisualStyles(); });
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon-main.png")));
    setFont(TahomaFont());
    setFixedSize(518, 333);
    ui_->setupUi(this);
    SetUpControls();
    SetUpList();
    CreateMenu();
    SetTabOrder();
    ConnectHandlers();
}

frmMain::~frmMain() = default;

// What the form cannot say: the fonts, the custom controls' properties and the buttons' Return key.
void frmMain::SetUpControls() {
    ui_->labTitle->setFont(TahomaFont(8.25, true));
    GrowToShowAll(ui_->labBody);
    for (MultiRule* rule :
         {ui_->MultiRule1, ui_->MultiRule2, ui_->MultiRule3, ui_->MultiRule4, ui_->MultiRule5}) {
        ReadRuleExtent(rule);
    }
    const QString searchFixTip = QStringLiteral("Fix any searching problems with Internet Explorer");
    SetUpLink(ui_->lnkAbout, QStringLiteral("Dorvane Solutions"), QString(),
              QStringLiteral("View application information"));
    SetUpLink(ui_->lnkIESearchFix, QStringLiteral("IE Search Fix"), QString(), searchFixTip);
    SetUpLink(ui_->lnkRestoreEngines, QStringLiteral("Restore Engines"), QString(),
              QStringLiteral("Restore the original search engines"));
    for (QPushButton* button : {ui_->cmdAddSearchEngine, ui_->cmdEditSearchEngine, ui_->cmdRemoveSearchEngine,
                                ui_->cmdSelectionMode, ui_->cmdInstallShortcuts, ui_->cmdRemoveShortcuts}) {
        new ReturnPressesButton(button);
    }
}

void frmMain::SetUpList() {
    ui_->lvwEngines->setModel(engines_);
    ui_->lvwEngines->header()->setSectionsMovable(false);
    ui_->lvwEngines->header()->resizeSection(0, 100);
    ui_->lvwEngines->header()->resizeSection(1, 383);
    ui_->lvwEngines->viewport()->installEventFilter(this);
    // The focus rests on a row's check box, in the first column, wherever the row was clicked, so that Space
    // toggles the box and the arrow keys move from row to row.
    QItemSelectionModel* selection = ui_->lvwEngines->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this, [selection](const QModelIndex& current) {
        if (current.column() != 0) {
            selection->setCurrentIndex(current.siblingAtColumn(0), QItemSelectionModel::NoUpdate);
        }
    });
}

void frmMain::CreateMenu() {
    mnuSELECTIONMODE = new QMenu(QStringLiteral("Selection Mode"), this);
    mnuSELECTIONMODE->setObjectName(QStringLiteral("mnuSELECTIONMODE"));
    mnuSELECTIONMODE->addActions({ui_->mSELECTNONE, ui_->mSELECTALL, ui_->mSELECTINVERT});
    new EngineListMenu(*ui_->lvwEngines, *engines_, prompt_);
}

// Install comes first so that it holds the focus when the window opens.
void frmMain::SetTabOrder() {
    ChainTabOrder({ui_->cmdInstallShortcuts, ui_->Label1, ui_->labTitle, ui_->labBody, ui_->lvwEngines,
                   ui_->cmdAddSearchEngine, ui_->cmdEditSearchEngine, ui_->cmdRemoveSearchEngine,
                   ui_->cmdSelectionMode, ui_->lnkAbout, ui_->lnkIESearchFix, ui_->lnkRestoreEngines,
                   ui_->cmdRemoveShortcuts});
}

void frmMain::ConnectHandlers() {
    connect(ui_->cmdInstallShortcuts, &QPushButton::clicked, this, &frmMain::cmdInstallShortcuts_Click);
    connect(ui_->cmdRemoveShortcuts, &QPushButton::clicked, this, &frmMain::cmdRemoveShortcuts_Click);
    connect(ui_->cmdRemoveSearchEngine, &QPushButton::clicked, this, &frmMain::cmdRemoveSearchEngine_Click);
    connect(ui_->cmdAddSearchEngine, &QPushButton::clicked, this, &frmMain::cmdAddSearchEngine_Click);
    connect(ui_->cmdEditSearchEngine, &QPushButton::clicked, this, &frmMain::cmdEditSearchEngine_Click);
    connect(ui_->cmdSelectionMode, &QPushButton::clicked, this, &frmMain::cmdSelectionMode_Click);
    connect(ui_->lnkAbout, &HyperLink::MouseUp, this, &frmMain::lnkAbout_MouseUp);
    connect(ui_->lnkIESearchFix, &HyperLink::MouseUp, this, &frmMain::lnkIESearchFix_MouseUp);
    connect(ui_->lnkRestoreEngines, &HyperLink::MouseUp, this, &frmMain::lnkRestoreEngines_MouseUp);
    connect(ui_->mSELECTNONE, &QAction::triggered, this, &frmMain::mSELECTNONE_Click);
    connect(ui_->mSELECTALL, &QAction::triggered, this, &frmMain::mSELECTALL_Click);
    connect(ui_->mSELECTINVERT, &QAction::triggered, this, &frmMain::mSELECTINVERT_Click);
    // The buttons follow the number of rows, whichever command changed it.
    const auto updateButtons = [this] { UpdateButtons(*engines_, *this); };
    connect(engines_, &QAbstractItemModel::rowsInserted, this, updateButtons);
    connect(engines_, &QAbstractItemModel::rowsRemoved, this, updateButtons);
    connect(engines_, &QAbstractItemModel::modelReset, this, updateButtons);
}

// The list's double-click, wherever in the list it falls: the view itself reports only one on a row.
bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->lvwEngines->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lvwEngines_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::Load() {
    setWindowTitle(FromLocal8Bit(MainWindowCaption(CurrentVersion())));
    CentreOnScreen();
    LoadEngines(*engines_, prompt_);
    if (ui_->cmdInstallShortcuts->isEnabled()) {
        ui_->cmdInstallShortcuts->setFocus();
    } else {
        ui_->lvwEngines->setFocus();
    }
}

void frmMain::CentreOnScreen() {
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void frmMain::SetEditSearchEngineEnabled(bool enabled) {
    ui_->cmdEditSearchEngine->setEnabled(enabled);
}

void frmMain::SetRemoveSearchEngineEnabled(bool enabled) {
    ui_->cmdRemoveSearchEngine->setEnabled(enabled);
}

void frmMain::SetInstallShortcutsEnabled(bool enabled) {
    ui_->cmdInstallShortcuts->setEnabled(enabled);
}

void frmMain::cmdInstallShortcuts_Click() {
    InstallEngines(*engines_, *store_, prompt_);
}

void frmMain::cmdRemoveShortcuts_Click() {
    RemoveShortcutsCommand(*store_, prompt_);
}

void frmMain::cmdRemoveSearchEngine_Click() {
    RemoveSelectedEngines(*engines_, SelectedRowPositions(*ui_->lvwEngines->selectionModel()), prompt_);
}

void frmMain::cmdAddSearchEngine_Click() {
    EditEngine(0, 0, {});
}

void frmMain::cmdEditSearchEngine_Click() {
    if (engines_->Count() == 0) {
        return;
    }
    const std::size_t current = CurrentPosition();
    EditEngine(1, current, EngineFieldsOf(engines_->Row(current)));
}

// Opens the editor on `shown`; what it returns on Okay goes into the list and the list file.
void frmMain::EditEngine(int editMode, std::size_t currentRow, const EngineFields& shown) {
    frmAddEngine editor(prompt_, this);
    const EditorTexts& texts = EditorModes[editMode];
    editor.SetTexts(texts.Caption, texts.Body);
    editor.SetEngine(shown.Prefix, shown.Url);
    if (editor.exec() != QDialog::Accepted) {
        return;
    }
    const EngineFields typed = editor.Engine();
    AcceptEngine(*engines_, {editMode, currentRow, typed.Prefix, typed.Url, ToLocal8Bit(texts.Caption)},
                 prompt_);
}

void frmMain::cmdSelectionMode_Click() {
    mnuSELECTIONMODE->exec(QCursor::pos());
}

void frmMain::lvwEngines_DblClick() {
    cmdEditSearchEngine_Click();
}

void frmMain::lnkAbout_MouseUp() {
    frmAbout about(shell_, this);
    about.exec();
}

void frmMain::lnkIESearchFix_MouseUp() {
    SearchFixCommand(*store_, prompt_);
}

void frmMain::lnkRestoreEngines_MouseUp() {
    RestoreDefaultEngines(*engines_, prompt_);
}

void frmMain::mSELECTNONE_Click() {
    engines_->SetAllChecked(false);
}

void frmMain::mSELECTALL_Click() {
    engines_->SetAllChecked(true);
}

void frmMain::mSELECTINVERT_Click() {
    engines_->InvertAllChecked();
}

std::vector<FitReport> frmMain::CheckWindowsFit() {
    std::vector<FitReport> reports{CheckFit(*this, objectName())};
    for (const EditorTexts& texts : EditorModes) {
        frmAddEngine editor(prompt_, this);
        editor.SetTexts(texts.Caption, texts.Body);
        editor.show();
        reports.push_back(CheckFit(editor, editor.objectName() + QStringLiteral(" (%1)").arg(texts.Caption)));
    }
    frmAbout about(shell_, this);
    about.show();
    reports.push_back(CheckFit(about, about.objectName()));
    return reports;
}

// The row Edit opens: the list's current row, or the top row while the user has not chosen one yet.
std::size_t frmMain::CurrentPosition() const {
    const QModelIndex current = ui_->lvwEngines->currentIndex();
    return current.isValid() ? static_cast<std::size_t>(current.row()) + 1 : 1;
}
