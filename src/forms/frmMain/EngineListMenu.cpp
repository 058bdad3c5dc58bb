#include "forms/frmMain/EngineListMenu.h"

#include "exports/EngineExport.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QStandardPaths>

#include <array>

namespace {

// A format's item: its name and text, and the file name and the filter its save dialog offers.
struct FormatItem {
    ExportFormat Format;
    const char* Name;
    const char* Text;
    const char* FileName;
    const char* Filter;
};

constexpr std::array<FormatItem, 4> FormatItems = {{
    {ExportFormat::Bookmarks, "mEXPORTBOOKMARKS", "Bookmarks File for Firefox and Chrome...",
     "search-engines.html", "Bookmarks files (*.html *.htm);;All files (*)"},
    {ExportFormat::Reg, "mEXPORTREG", "Registry File for Internet Explorer...", "search-engines.reg",
     "Registration entries (*.reg);;All files (*)"},
    {ExportFormat::Firefox, "mEXPORTFIREFOX", "Firefox Policy...", "policies.json",
     "Firefox policies (policies.json);;JSON files (*.json);;All files (*)"},
    {ExportFormat::Chrome, "mEXPORTCHROME", "Chrome Policy...", "ievantrel-search.json",
     "JSON files (*.json);;All files (*)"},
}};

bool AnyChecked(const EngineRows& rows) {
    for (std::size_t index = 1; index <= rows.Count(); ++index) {
        if (rows.Row(index).Checked) {
            return true;
        }
    }
    return false;
}

} // namespace

EngineListMenu::EngineListMenu(QAbstractItemView& list, const EngineRows& rows, Prompt& prompt)
    : QObject(&list), list_(list), rows_(rows), prompt_(prompt), mnuENGINES(new QMenu(&list)),
      mnuEXPORT(mnuENGINES->addMenu(QStringLiteral("Export Checked Engines"))) {
    mnuENGINES->setObjectName(QStringLiteral("mnuENGINES"));
    mnuEXPORT->setObjectName(QStringLiteral("mnuEXPORT"));
    for (std::size_t item = 0; item < FormatItems.size(); ++item) {
        QAction* action = mnuEXPORT->addAction(QString::fromLatin1(FormatItems[item].Text));
        action->setObjectName(QString::fromLatin1(FormatItems[item].Name));
        action->setData(QVariant::fromValue(item));
    }
    list.installEventFilter(this);
    list.viewport()->installEventFilter(this);
}

// A right click reaches the list's rows or its header, the keyboard's request the list itself. Only some
// platforms turn the Menu key and Shift+F10 into a request of their own, so the keys open the menu here too;
// where the platform does, its request comes first and the key then goes to the open menu.
bool EngineListMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        const auto* request = static_cast<const QContextMenuEvent*>(event);
        Popup(request->reason() == QContextMenuEvent::Mouse ? request->globalPos() : KeyboardPosition());
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched == &list_) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            Popup(KeyboardPosition());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// On the current row when it is in sight, else at the top left of the rows.
QPoint EngineListMenu::KeyboardPosition() const {
    QWidget* rows = list_.viewport();
    const QRect current = list_.visualRect(list_.currentIndex()).intersected(rows->rect());
    return rows->mapToGlobal(current.isEmpty() ? QPoint() : current.center());
}

// With no row checked there is nothing to export, and the formats say so by being greyed out.
void EngineListMenu::Popup(const QPoint& globalPosition) {
    mnuEXPORT->menuAction()->setEnabled(AnyChecked(rows_));
    if (const QAction* chosen = mnuENGINES->exec(globalPosition)) {
        Export(chosen->data().value<std::size_t>());
    }
}

void EngineListMenu::Export(std::size_t item) {
    const FormatItem& format = FormatItems.at(item);
    const QString path =
        QFileDialog::getSaveFileName(list_.window(), QStringLiteral("Export Checked Engines"),
                                     QDir(StartFolder()).filePath(QString::fromLatin1(format.FileName)),
                                     QString::fromLatin1(format.Filter));
    if (path.isEmpty()) {
        return;
    }
    lastFolder_ = QFileInfo(path).absolutePath();
    ExportEnginesToFile(rows_, format.Format, QDir::toNativeSeparators(path).toUtf8().toStdString(), prompt_);
}

// The folder of the last export, else the user's documents folder, else the home folder.
QString EngineListMenu::StartFolder() const {
    if (!lastFolder_.isEmpty()) {
        return lastFolder_;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}
