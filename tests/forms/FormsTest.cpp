#include "MakerSite.h"
#include "controls/TahomaFont.h"
#include "engines/VectorEngineRows.h"
#include "exports/EngineExport.h"
#include "forms/frmAbout/frmAbout.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

#include <functional>

namespace {

QLineEdit* Box(frmAddEngine* editor, const char* name) {
    return FindControl<QLineEdit>(*editor, name);
}

// Opens the editor with `open` and works it while it is up; false if it never came up.
bool WorkEditor(const std::function<void()>& open, const std::function<void(frmAddEngine*)>& work) {
    bool shown = false;
    WhenShown<frmAddEngine>([&](frmAddEngine* editor) {
        shown = true;
        work(editor);
        if (editor->isVisible()) {
            editor->reject();
        }
    });
    open();
    return shown;
}

// Presses a key in a box, checks the editor is still open, and releases the key.
void PressAndRelease(frmAddEngine* editor, const char* box, Qt::Key key) {
    QTest::keyPress(Box(editor, box), key);
    QVERIFY(editor->isVisible());
    QTest::keyRelease(Box(editor, box), key);
}

// Opens the list's menu with `open` and picks `item` from Export Checked Engines, or closes the menu when the
// item is null or greyed out. Returns where the menu came up (nowhere: a null point) and if it could export.
std::pair<QPoint, bool> PickExport(const std::function<void()>& open, QAction* item) {
    std::pair<QPoint, bool> shown;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* submenu = menu->actions().value(0);
        shown = {menu->pos(), submenu->isEnabled()};
        if (item == nullptr || !shown.second) {
            menu->close();
            return;
        }
        menu->setActiveAction(submenu);
        submenu->menu()->setActiveAction(item);
        QTest::keyClick(submenu->menu(), Qt::Key_Return);
    });
    open();
    return shown;
}

} // namespace

class FormsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    // The selection decides, not the checks; overlapping ranges count each row once. The question names the
    // rows bottom first, as plain text, and being long shows 40 lines, all of it in the details, on screen.
    void removeSelectedGoesBySelection() {
        Engines engines{"<b>a</b>"};
        QString bottomFirst = QStringLiteral("\n<b>a</b>");
        for (int row = 2; row <= 60; ++row) {
            engines.push_back("p" + std::to_string(row));
            bottomFirst.prepend(row > 2 ? QStringLiteral("\np%1").arg(row) : QString());
        }
        MainWindowFixture window(engines);
        window.Model()->setData(window.Model()->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
        QItemSelection ranges;
        for (const auto& [top, bottom] : {std::pair{0, 0}, std::pair{2, 39}, std::pair{29, 59}}) {
            ranges.select(window.Model()->index(top, 0), window.Model()->index(bottom, 1));
        }
        window.List()->selectionModel()->select(ranges, QItemSelectionModel::Select);
        MessageBoxAnswerer answerer({QMessageBox::Yes});
        Click(window.Find("cmdRemoveSearchEngine"));
        const SeenBox box = answerer.Seen.value(0);
        QCOMPARE(box.Format, Qt::PlainText);
        QCOMPARE(box.Icon, QMessageBox::Question);
        QCOMPARE(box.Text.count(QLatin1Char('\n')), 40);
        QVERIFY(box.Text.endsWith(QStringLiteral("\n\u2026")) && box.Details.startsWith(box.Text.chopped(1)));
        QVERIFY(box.Details.endsWith(QStringLiteral("\n") + bottomFirst));
        QVERIFY(box.Height < QApplication::primaryScreen()->availableGeometry().height());
        QVERIFY(window.Model()->Count() == 1 && window.Model()->Row(1).Text == "p2");
    }

    // Space toggles the box of the row clicked, on either column, and the arrow keys move from row to row.
    void spaceTogglesTheFocusedRowsBox() {
        MainWindowFixture window(Engines{"a", "b", "c"});
        QTreeView* list = window.List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(window.Model()->index(0, 1)).center());
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}) {
            QTest::keyClick(list, key);
        }
        QList<QVariant> checks;
        for (int row = 0; row < 3; ++row) {
            checks.append(window.Model()->index(row, 0).data(Qt::CheckStateRole));
        }
        QCOMPARE(checks, (QList<QVariant>{Qt::Unchecked, Qt::Checked, Qt::Unchecked}));
        QCOMPARE(list->selectionModel()->selectedRows(), QModelIndexList{window.Model()->index(2, 0)});
    }

    // A double-click below the rows and Edit edit the current row; 8-bit text left alone stays byte for byte.
    // Return and Escape act when released, Return and Enter press a focused button, a refusal keeps it open.
    void editorKeysAndTexts() {
        const std::string longPrefix(40000, 'x');
        const QString pasted(50000, QLatin1Char('p'));
        MainWindowFixture window(Engines{"caf\xE9", longPrefix});
        QWidget* list = window.List()->viewport();
        window.List()->setCurrentIndex(window.Model()->index(1, 0));
        QVERIFY(
            WorkEditor([&] { QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(5, list->height() - 5)); },
                       [&](frmAddEngine* editor) {
                           QCOMPARE(Box(editor, "txtPrefix")->text().size(), 40000);
                           Box(editor, "txtURL")->selectAll();
                           Box(editor, "txtURL")->insert(pasted);
                           QTest::keyClick(Box(editor, "txtPrefix"), Qt::Key_Return);
                       }));
        window.List()->setCurrentIndex(window.Model()->index(0, 0));
        QVERIFY(WorkEditor([&] { Click(window.Find("cmdEditSearchEngine")); },
                           [](frmAddEngine* editor) {
                               QCOMPARE(Box(editor, "txtPrefix")->text().size(), 4);
                               QVERIFY(!Box(editor, "txtPrefix")->hasSelectedText());
                               PressAndRelease(editor, "txtURL", Qt::Key_Return);
                           }));
        MessageBoxAnswerer answerer;
        QVERIFY(WorkEditor([&] { QTest::keyClick(window.Find("cmdAddSearchEngine"), Qt::Key_Return); },
                           [](frmAddEngine* editor) {
                               Box(editor, "txtPrefix")->setText(QStringLiteral("g\th"));
                               QTest::mouseClick(FindControl(*editor, "cmdOkay"), Qt::LeftButton);
                               QTest::keyClick(FindControl(*editor, "cmdOkay"), Qt::Key_Escape);
                               PressAndRelease(editor, "txtPrefix", Qt::Key_Escape);
                               QVERIFY(!editor->isVisible());
                           }));
        QVERIFY(WorkEditor([&] { Click(window.Find("cmdAddSearchEngine")); },
                           [](frmAddEngine* editor) {
                               Box(editor, "txtPrefix")->setText(QStringLiteral("g"));
                               QTest::keyClick(FindControl(*editor, "cmdOkay"), Qt::Key_Enter,
                                               Qt::KeypadModifier);
                           }));
        QCOMPARE(answerer.Seen.value(0).Title, QStringLiteral("Add New Search Engine"));
        QCOMPARE(answerer.Seen.value(0).Icon, QMessageBox::Warning);
        QVERIFY(window.List()->visualRect(window.Model()->index(2, 0)).isValid());
        QCOMPARE(window.ListFile(), ListBytes({"caf\xE9"}) + "PREFIX=" + longPrefix +
                                        "\tURL=" + pasted.toStdString() + "\r\nPREFIX=g\tURL=\r\n");
    }

    // The right button and, on the current row, the Menu key and Shift+F10 open the list's menu. Each format
    // saves the checked rows where the save dialog is told, from the last export's folder on, and reports; a
    // cancelled dialog writes nothing; with no row checked it cannot export.
    void exportMenuSavesTheCheckedRows() {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        MainWindowFixture window(Engines{"a", "b", "c"});
        QTreeView* list = window.List();
        window.Model()->setData(window.Model()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
        VectorEngineRows checked;
        checked.AddMany({window.Model()->Row(1), window.Model()->Row(3)});
        list->setCurrentIndex(window.Model()->index(2, 0));
        const QPoint row = list->viewport()->mapToGlobal(list->visualRect(list->currentIndex()).center());
        const QPoint below = list->viewport()->mapToGlobal(QPoint(5, list->viewport()->height() - 5));
        const auto rightClick = [&] {
            QTest::mouseClick(list->window()->windowHandle(), Qt::RightButton, {},
                              list->window()->mapFromGlobal(below));
        };
        const auto menuKey = [list] { QTest::keyClick(list, Qt::Key_Menu); };
        const TempFolder out;
        MessageBoxAnswerer answerer;
        const std::tuple<std::function<void()>, QPoint, const char*, ExportFormat, QString> exports[] = {
            {rightClick, below, "mEXPORTBOOKMARKS", ExportFormat::Bookmarks, "search-engines.html"},
            {menuKey, row, "mEXPORTREG", ExportFormat::Reg, "search-engines.reg"},
            {[list] { QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier); }, row, "mEXPORTFIREFOX",
             ExportFormat::Firefox, "policies.json"},
            {rightClick, below, "mEXPORTCHROME", ExportFormat::Chrome, "ievantrel-search.json"}};
        for (const auto& [open, at, item, format, name] : exports) {
            const std::string path = out.File(item);
            WhenShown<QFileDialog>([&](QFileDialog* dialog) {
                auto* typed = FindControl<QLineEdit>(*dialog, "fileNameEdit");
                QVERIFY(typed->text() == name && (item[7] == 'B' || dialog->directory() == QDir(out.Path())));
                typed->setText(QString::fromStdString(path));
                QTest::keyClick(typed, Qt::Key_Return);
            });
            QCOMPARE(PickExport(open, window.Find<QAction>(item)), std::pair(at, true));
            QCOMPARE(ReadBytes(path), ExportEngines(checked, format).Bytes);
        }
        WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QVERIFY(PickExport(rightClick, window.Find<QAction>("mEXPORTREG")).second);
        window.Model()->SetAllChecked(false);
        QCOMPARE(PickExport(menuKey, nullptr), std::pair(row, false));
        QCOMPARE(FolderListing(out.Path()).size(), std::size_t{4});
        QVERIFY(answerer.Seen.size() == 4 && answerer.Seen[3].Title == QStringLiteral("ExportEngines()"));
        QCOMPARE(answerer.Seen[3].Text, QStringLiteral("2 of 2 checked engines have been exported."));
    }

    // Every text of every window fits where it is shown, with whichever fonts the system has, and every
    // picture shows: one that could not be read is found.
    void windowsFit() {
        MainWindowFixture window(Engines{"a"});
        for (const FitReport& report : window.Window().CheckWindowsFit()) {
            QVERIFY2(report.Checked > 5 && report.Failures.isEmpty(), qPrintable(report.Failures.join('\n')));
        }
        window.Find<QLabel>("imgDorvane")->setPixmap(QPixmap());
        QCOMPARE(window.Window().CheckWindowsFit().front().Failures,
                 QStringList(QStringLiteral("frmMain / imgDorvane: shows no picture")));
    }

    // The Windows build embeds PNG copies of the GIF and JPEG pictures, which must show the very same pixels.
    void windowsPicturesHaveTheOriginalsPixels() {
        const QDir pictures(QStringLiteral(VANTREL_PICTURES_FOLDER));
        const QStringList originals = pictures.entryList({QStringLiteral("*.gif"), QStringLiteral("*.jpg")});
        QCOMPARE(originals.size(), 4);
        for (const QString& original : originals) {
            const auto pixels = [&](const QString& name) {
                return QImage(pictures.filePath(name)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            };
            const QImage expected = pixels(original);
            const QImage copy =
                pixels(QStringLiteral("windows/%1.png").arg(QFileInfo(original).completeBaseName()));
            QVERIFY2(!expected.isNull() && copy == expected, qPrintable(original));
        }
    }

    // The maker's link opens About: links open their address on any button, pictures on a left click only.
    void aboutOpensEachAddressOnce() {
        MainWindowFixture window(Engines{"a"});
        std::vector<ShellOpenRequest> expected;
        WhenShown<frmAbout>([&](frmAbout* about) {
            QVERIFY(QDir().mkpath(QStringLiteral(VANTREL_SCREENSHOT_FOLDER)));
            QVERIFY(about->grab().save(QStringLiteral(VANTREL_SCREENSHOT_FOLDER "/about.png")));
            const auto own = static_cast<WindowHandle>(about->winId());
            const std::tuple<const char*, std::string, WindowHandle, int> clicks[] = {
                {"lnkForums", ForumURL, 0, 2},      {"lnkWebsite", HomePageURL, 0, 2},
                {"imgLogo", HomePageURL, 0, 1},     {"labTitle", ProductPageURL, own, 1},
                {"imgDonate", DonationURL, own, 1}, {"labDonate", DonationURL, own, 1}};
            for (const auto& [name, address, owner, times] : clicks) {
                Click(FindControl(*about, name), Qt::RightButton);
                Click(FindControl(*about, name));
                expected.insert(expected.end(), times, {address, "", owner, 1, "", false});
            }
            QTest::keyClick(about, Qt::Key_Escape);
            QVERIFY(about->isVisible());
            about->reject();
        });
        Click(window.Find("lnkAbout"), Qt::RightButton);
        QVERIFY(!expected.empty() && window.Shell().Opened == expected);
    }
};

QTEST_MAIN(FormsTest)
#include "FormsTest.moc"
