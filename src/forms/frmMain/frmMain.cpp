#include "forms/frmMain/frmMain.h"

#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/PropertyBag.h"
#include "controls/TahomaFont.h"
#include "engines/EngineCommands.h"
#include "engines/modFileIO.h"
#include "forms/EngineListModel.h"
#include "forms/Himetric.h"
#include "forms/Local8Bit.h"
#include "forms/Placement.h"
#include "forms/SelectedRows.h"
#include "forms/frmAbout/frmAbout.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "platform/VersionText.h"
#include "platform/modWinXP.h"
#include "registry/RegistryCommands.h"
#include "registry/modCore.h"

#include <QAction>
#include <QCursor>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>

namespace {

const QString BodyText = QStringLiteral(
    "Clicking Install will install the list of search engine shortcuts below, which will allow you to type "
    "in a Prefix and a search string into any IE address bar and press Return to perform a search using "
    "that respective engine. If you don't understand any of below, then just hit Install.");

const QString AddEngineBody = QStringLiteral(
    "Enter the prefix you would like to use for this new search engine below, not forgetting the %s code. "
    "See ReadMe file for further details.");

const QString EditEngineBody = QStringLiteral(
    "Use this window to edit the selected search engine. Once you are happy with the changes, click on Okay. "
    "Remember to click Install in the main window to perform the update.");

// The three links leave the click to the window and keep the control's defaults for everything not set here.
HyperLink* PlaceLink(QWidget* parent, const char* name, const QString& caption, const QString& toolTip,
                     const QRect& geometry) {
    auto* link = Place<HyperLink>(parent, name, geometry);
    link->ReadProperties(
        PropertyBag{{QStringLiteral("caption"), caption},
                    {QStringLiteral("url"), QString()},
                    {QStringLiteral("overrideclick"), QVariant::fromValue(qint16(-1))},
                    {QStringLiteral("tooltiptext"), toolTip},
                    {QStringLiteral("hilightcolour"), QVariant::fromValue(quint32(0x00AF0000))},
                    {QStringLiteral("_extentx"), Himetric(geometry.width())},
                    {QStringLiteral("_extenty"), Himetric(geometry.height())}});
    return link;
}

} // namespace

frmMain::frmMain(std::unique_ptr<RegistryStore> store, Shell& shell, QWidget* parent)
    : QWidget(parent), store_(std::move(store)), shell_(shell), prompt_(this),
      engines_(new EngineListModel(this)) {
    InitVisualStyles();
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon-main.png")));
    setFont(TahomaFont());
    setFixedSize(518, 333);
    CreateHeader();
    CreateList();
    CreateListButtons();
    CreateFooter();
    CreateMenu();
    SetTabOrder();
    ConnectHandlers();
}

frmMain::~frmMain() = default;

void frmMain::CreateHeader() {
    Label1 = PlaceWhiteLabel(this, "Label1", QString(), {-126, -14, 675, 86});
    imgLogo = PlacePicture(this, "imgLogo", ":/images/logo.gif", {8, 11, 48, 48});
    labTitle = PlaceWhiteLabel(this, "labTitle", QStringLiteral("IE Vantrel"), {65, 8, 68, 13});
    labTitle->setFont(TahomaFont(8.25, true));
    labBody = PlaceWhiteLabel(this, "labBody", BodyText, {65, 22, 448, 39});
    labBody->setWordWrap(true);
    MultiRule1 = PlaceRule(this, "MultiRule1", {-90, 71, 625, 6});
}

void frmMain::CreateList() {
    lvwEngines = Place<QTreeView>(this, "lvwEngines", {7, 80, 504, 176});
    lvwEngines->setModel(engines_);
    lvwEngines->setRootIsDecorated(false);
    lvwEngines->setItemsExpandable(false);
    lvwEngines->setUniformRowHeights(true);
    lvwEngines->setSortingEnabled(false);
    lvwEngines->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwEngines->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwEngines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwEngines->setAllColumnsShowFocus(true);
    lvwEngines->header()->setStretchLastSection(false);
    lvwEngines->header()->setSectionsMovable(false);
    lvwEngines->header()->resizeSection(0, 100);
    lvwEngines->header()->resizeSection(1, 383);
    lvwEngines->viewport()->installEventFilter(this);
}

void frmMain::CreateListButtons() {
    cmdAddSearchEngine = PlaceButton(this, "cmdAddSearchEngine", QStringLiteral("Add Search Engine"),
                                     QStringLiteral("Add a new search engine"), {7, 260, 122, 25});
    cmdEditSearchEngine = PlaceButton(this, "cmdEditSearchEngine", QStringLiteral("Edit Search Engine"),
                                      QStringLiteral("Edit the selected search engine"), {131, 260, 122, 25});
    cmdRemoveSearchEngine =
        PlaceButton(this, "cmdRemoveSearchEngine", QStringLiteral("Remove Selected"),
                    QStringLiteral("Remove all of the selected search engines"), {255, 260, 122, 25});
    MultiRule3 = PlaceRule(this, "MultiRule3", {387, 257, 8, 28});
    cmdSelectionMode = PlaceButton(this, "cmdSelectionMode", QStringLiteral("Selection Mode"),
                                   QStringLiteral("Search engine selection mode"), {399, 260, 112, 25});
    MultiRule2 = PlaceRule(this, "MultiRule2", {-179, 290, 734, 8});
}

void frmMain::CreateFooter() {
    const QString searchFixTip = QStringLiteral("Fix any searching problems with Internet Explorer");
    const QString restoreTip = QStringLiteral("Restore the original search engines");
    imgDorvane = PlacePicture(this, "imgDorvane", ":/images/maker.gif", {11, 303, 20, 16},
                              QStringLiteral("Dorvane Solutions"));
    lnkAbout = PlaceLink(this, "lnkAbout", QStringLiteral("Dorvane Solutions"),
                         QStringLiteral("View application information"), {35, 305, 84, 12});
    MultiRule4 = PlaceRule(this, "MultiRule4", {126, 298, 8, 25});
    imgSearchFix =
        PlacePicture(this, "imgSearchFix", ":/images/searchfix.png", {136, 303, 16, 16}, searchFixTip);
    lnkIESearchFix =
        PlaceLink(this, "lnkIESearchFix", QStringLiteral("IE Search Fix"), searchFixTip, {154, 305, 66, 12});
    MultiRule5 = PlaceRule(this, "MultiRule5", {226, 298, 8, 25});
    imgRestoreEngines =
        PlacePicture(this, "imgRestoreEngines", ":/images/restore.png", {236, 303, 16, 16}, restoreTip);
    lnkRestoreEngines = PlaceLink(this, "lnkRestoreEngines", QStringLiteral("Restore Engines"), restoreTip,
                                  {254, 305, 81, 12});
    cmdInstallShortcuts = PlaceButton(this, "cmdInstallShortcuts", QStringLiteral("Install"),
                                      QStringLiteral("Install the shortcuts"), {399, 299, 55, 27});
    cmdRemoveShortcuts = PlaceButton(this, "cmdRemoveShortcuts", QStringLiteral("Remove"),
                                     QStringLiteral("Remove the shortcuts"), {455, 299, 55, 27});
}

void frmMain::CreateMenu() {
    mnuSELECTIONMODE = new QMenu(QStringLiteral("Selection Mode"), this);
    mnuSELECTIONMODE->setObjectName(QStringLiteral("mnuSELECTIONMODE"));
    mSELECTNONE = mnuSELECTIONMODE->addAction(QStringLiteral("Select None"));
    mSELECTNONE->setObjectName(QStringLiteral("mSELECTNONE"));
    mSELECTALL = mnuSELECTIONMODE->addAction(QStringLiteral("Select All"));
    mSELECTALL->setObjectName(QStringLiteral("mSELECTALL"));
    mSELECTINVERT = mnuSELECTIONMODE->addAction(QStringLiteral("Select Invert"));
    mSELECTINVERT->setObjectName(QStringLiteral("mSELECTINVERT"));
}

// Install comes first so that it holds the focus when the window opens.
void frmMain::SetTabOrder() {
    ChainTabOrder({cmdInstallShortcuts, Label1, labTitle, labBody, lvwEngines, cmdAddSearchEngine,
                   cmdEditSearchEngine, cmdRemoveSearchEngine, cmdSelectionMode, lnkAbout, lnkIESearchFix,
                   lnkRestoreEngines, cmdRemoveShortcuts});
}

void frmMain::ConnectHandlers() {
    connect(cmdInstallShortcuts, &QPushButton::clicked, this, &frmMain::cmdInstallShortcuts_Click);
    connect(cmdRemoveShortcuts, &QPushButton::clicked, this, &frmMain::cmdRemoveShortcuts_Click);
    connect(cmdRemoveSearchEngine, &QPushButton::clicked, this, &frmMain::cmdRemoveSearchEngine_Click);
    connect(cmdAddSearchEngine, &QPushButton::clicked, this, &frmMain::cmdAddSearchEngine_Click);
    connect(cmdEditSearchEngine, &QPushButton::clicked, this, &frmMain::cmdEditSearchEngine_Click);
    connect(cmdSelectionMode, &QPushButton::clicked, this, &frmMain::cmdSelectionMode_Click);
    connect(lnkAbout, &HyperLink::MouseUp, this, &frmMain::lnkAbout_MouseUp);
    connect(lnkIESearchFix, &HyperLink::MouseUp, this, &frmMain::lnkIESearchFix_MouseUp);
    connect(lnkRestoreEngines, &HyperLink::MouseUp, this, &frmMain::lnkRestoreEngines_MouseUp);
    connect(mSELECTNONE, &QAction::triggered, this, &frmMain::mSELECTNONE_Click);
    connect(mSELECTALL, &QAction::triggered, this, &frmMain::mSELECTALL_Click);
    connect(mSELECTINVERT, &QAction::triggered, this, &frmMain::mSELECTINVERT_Click);
    // The buttons follow the number of rows, whichever command changed it.
    const auto updateButtons = [this] { UpdateButtons(*engines_, *this); };
    connect(engines_, &QAbstractItemModel::rowsInserted, this, updateButtons);
    connect(engines_, &QAbstractItemModel::rowsRemoved, this, updateButtons);
    connect(engines_, &QAbstractItemModel::modelReset, this, updateButtons);
}

// The list's double-click, wherever in the list it falls: the view itself reports only one on a row.
bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvwEngines->viewport() && event->type() == QEvent::MouseButtonDblClick &&
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
    if (cmdInstallShortcuts->isEnabled()) {
        cmdInstallShortcuts->setFocus();
    } else {
        lvwEngines->setFocus();
    }
}

void frmMain::CentreOnScreen() {
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void frmMain::SetEditSearchEngineEnabled(bool enabled) {
    cmdEditSearchEngine->setEnabled(enabled);
}

void frmMain::SetRemoveSearchEngineEnabled(bool enabled) {
    cmdRemoveSearchEngine->setEnabled(enabled);
}

void frmMain::SetInstallShortcutsEnabled(bool enabled) {
    cmdInstallShortcuts->setEnabled(enabled);
}

void frmMain::cmdInstallShortcuts_Click() {
    InstallEngines(*engines_, *store_, prompt_);
}

void frmMain::cmdRemoveShortcuts_Click() {
    RemoveShortcutsCommand(*store_, prompt_);
}

void frmMain::cmdRemoveSearchEngine_Click() {
    RemoveSelectedEngines(*engines_, SelectedRowPositions(*lvwEngines->selectionModel()), prompt_);
}

void frmMain::cmdAddSearchEngine_Click() {
    EditEngine(0, 0, QStringLiteral("Add New Search Engine"), AddEngineBody, {});
}

void frmMain::cmdEditSearchEngine_Click() {
    if (engines_->Count() == 0) {
        return;
    }
    const std::size_t current = CurrentPosition();
    EditEngine(1, current, QStringLiteral("Edit Search Engine"), EditEngineBody,
               EngineFieldsOf(engines_->Row(current)));
}

// Opens the editor on `shown`; what it returns on Okay goes into the list and the list file.
void frmMain::EditEngine(int editMode, std::size_t currentRow, const QString& caption, const QString& body,
                         const EngineFields& shown) {
    frmAddEngine editor(prompt_, this);
    editor.SetTexts(caption, body);
    editor.SetEngine(shown.Prefix, shown.Url);
    if (editor.exec() != QDialog::Accepted) {
        return;
    }
    const EngineFields typed = editor.Engine();
    AcceptEngine(*engines_, {editMode, currentRow, typed.Prefix, typed.Url, ToLocal8Bit(caption)}, prompt_);
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

// The row Edit opens: the list's current row, or the top row while the user has not chosen one yet.
std::size_t frmMain::CurrentPosition() const {
    const QModelIndex current = lvwEngines->currentIndex();
    return current.isValid() ? static_cast<std::size_t>(current.row()) + 1 : 1;
}
