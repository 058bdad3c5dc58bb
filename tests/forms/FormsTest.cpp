#include "MakerSite.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "forms/frmAbout/frmAbout.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ReleaseOverLink.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include <functional>

namespace {

const std::string SearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";

// The main window, its list model held to Qt's model contract through every command.
struct MainWindow : MainWindowFixture {
    using MainWindowFixture::MainWindowFixture;
    QAbstractItemModelTester Tester{Model(), QAbstractItemModelTester::FailureReportingMode::QtTest};
};

// A command used on the list a, b with both rows selected: the box it shows first, answered as given, the
// rows it leaves and the store key it leaves (none: no shortcuts at all).
struct Command {
    const char* Name;
    const char* Control;
    QMessageBox::StandardButton Answer;
    QString Title;
    Engines Left;
    std::string StoreKey;
};
const Command Commands[] = {
    {"install", "cmdInstallShortcuts", QMessageBox::Ok, "InstallEngines()", {"a", "b"}, SearchUrl + "\\a"},
    {"remove shortcuts", "cmdRemoveShortcuts", QMessageBox::Ok, "Remove Shortcuts", {"a", "b"}, ""},
    {"remove selected no",
     "cmdRemoveSearchEngine",
     QMessageBox::No,
     "Remove Selected Engines",
     {"a", "b"},
     ""},
    {"remove selected yes", "cmdRemoveSearchEngine", QMessageBox::Yes, "Remove Selected Engines", {}, ""},
    {"search fix no", "lnkIESearchFix", QMessageBox::No, "IE Search Fix", {"a", "b"}, ""},
    {"search fix yes", "lnkIESearchFix", QMessageBox::Yes, "IE Search Fix", {"a", "b"}, SearchUrl},
    {"restore no", "lnkRestoreEngines", QMessageBox::No, "Restore Search Engines", {"a", "b"}, ""},
    {"restore yes", "lnkRestoreEngines", QMessageBox::Yes, "Restore Search Engines", {"x", "y", "z"}, ""}};

// A left click, or a release over a link, on the main window's control of that name.
void Use(MainWindow& window, const char* name) {
    if (auto* link = qobject_cast<HyperLink*>(window.Find(name))) {
        ReleaseOverLink(link);
    } else {
        QTest::mouseClick(window.Find(name), Qt::LeftButton);
    }
}

QLineEdit* Box(frmAddEngine* editor, const char* name) {
    return FindControl<QLineEdit>(*editor, name);
}

// Opens the editor with `open` and works it while it is up; returns whether it came up.
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

// Presses a key in the editor, which must still be open, and releases it.
void PressAndRelease(frmAddEngine* editor, const char* box, Qt::Key key) {
    QTest::keyPress(Box(editor, box), key);
    QVERIFY(editor->isVisible());
    QTest::keyRelease(Box(editor, box), key);
}

} // namespace

class FormsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    // A missing list is reported and leaves the list empty. Edit, Remove Selected and Install need a row; the
    // focus starts on Install, or on the list when Install is disabled.
    void startFollowsTheList() {
        for (const std::optional<Engines>& engines :
             {std::optional(Engines{"a"}), std::optional(Engines{}), std::optional<Engines>()}) {
            MessageBoxAnswerer answerer;
            MainWindow window(engines);
            const bool rows = engines && !engines->empty();
            for (const char* name : {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts"}) {
                QVERIFY2(window.Find(name)->isEnabled() == rows, name);
            }
            for (const char* name : {"cmdAddSearchEngine", "cmdSelectionMode", "cmdRemoveShortcuts"}) {
                QVERIFY2(window.Find(name)->isEnabled(), name);
            }
            QTRY_COMPARE(QApplication::focusWidget(),
                         window.Find(rows ? "cmdInstallShortcuts" : "lvwEngines"));
            QCOMPARE(answerer.Seen.size(), engines ? 0 : 1);
            QVERIFY(engines || answerer.Seen[0].Title == QStringLiteral("LoadEngines()"));
        }
    }

    void commandsReachTheListAndTheStore_data() {
        QTest::addColumn<int>("index");
        for (int index = 0; index < int(std::size(Commands)); ++index) {
            QTest::newRow(Commands[index].Name) << index;
        }
    }
    // Install and Remove report what they did; the others ask first and act only on Yes. The buttons follow
    // the rows left.
    void commandsReachTheListAndTheStore() {
        QFETCH(int, index);
        const Command& command = Commands[index];
        MainWindow window(Engines{"a", "b"});
        window.Select({1, 2});
        MessageBoxAnswerer answerer({command.Answer});
        Use(window, command.Control);
        QCOMPARE(answerer.Seen.value(0).Title, command.Title);
        QCOMPARE(answerer.Seen[0].Buttons == QMessageBox::Ok, command.Answer == QMessageBox::Ok);
        QCOMPARE(window.Prefixes(), command.Left);
        QCOMPARE(window.ListFile(), ListBytes(command.Left));
        QCOMPARE(window.Store()->KeyExists(RegRoot::CurrentUser,
                                           command.StoreKey.empty() ? SearchUrl : command.StoreKey),
                 !command.StoreKey.empty());
        QCOMPARE(window.Find("cmdInstallShortcuts")->isEnabled(), !command.Left.empty());
    }

    // The selection decides, not the check boxes, its overlapping ranges (as shift- and control-clicks leave
    // them) counting each row once. The question names the rows bottom first, as plain text; a long one shows
    // its first 40 lines, all of it under the details, and fits on the screen.
    void removeSelectedGoesBySelection() {
        Engines engines{"<b>a</b>"};
        QString bottomFirst = QStringLiteral("\n<b>a</b>");
        for (int row = 2; row <= 60; ++row) {
            engines.push_back("p" + std::to_string(row));
            bottomFirst.prepend(row > 2 ? QStringLiteral("\np%1").arg(row) : QString());
        }
        MainWindow window(engines);
        window.Model()->setData(window.Model()->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
        QItemSelection ranges;
        for (const auto& [top, bottom] : {std::pair{0, 0}, std::pair{2, 39}, std::pair{29, 59}}) {
            ranges.select(window.Model()->index(top, 0), window.Model()->index(bottom, 1));
        }
        window.List()->selectionModel()->select(ranges, QItemSelectionModel::Select);
        MessageBoxAnswerer answerer({QMessageBox::Yes});
        Use(window, "cmdRemoveSearchEngine");
        const SeenBox box = answerer.Seen.value(0);
        QCOMPARE(box.Format, Qt::PlainText);
        QCOMPARE(box.Text.count(QLatin1Char('\n')), 40);
        QVERIFY(box.Text.endsWith(QStringLiteral("\n\u2026")));
        QVERIFY(box.Details.startsWith(box.Text.chopped(1)));
        QVERIFY(box.Details.endsWith(QStringLiteral("\n") + bottomFirst));
        QVERIFY(box.Height < QApplication::primaryScreen()->availableGeometry().height());
        QCOMPARE(window.Prefixes(), Engines{"p2"});
        QCOMPARE(window.ListFile(), ListBytes({"p2"}));
    }

    // Edit and a double-click on a row edit that row; a double-click below the rows edits the current one. A
    // text left untouched goes back byte for byte, bytes the system's encoding cannot show included, and no
    // text is cut however long. Return and Escape act when released. Return on the focused Add button opens
    // the editor and Enter on its focused Okay button adds; a refused TAB keeps the editor open; Cancel
    // closes it.
    void editorKeysAndTexts() {
        const std::string odd = "caf\xE9";
        const std::string longPrefix(40000, 'x');
        const QString pasted(50000, QLatin1Char('p'));
        MainWindow window(Engines{odd, longPrefix});
        QWidget* list = window.List()->viewport();
        const auto doubleClick = [list](QPoint at) {
            QTest::mouseClick(list, Qt::LeftButton, {}, at);
            QTest::mouseDClick(list, Qt::LeftButton, {}, at);
        };
        MessageBoxAnswerer answerer;
        QVERIFY(
            WorkEditor([&] { doubleClick(window.List()->visualRect(window.Model()->index(1, 1)).center()); },
                       [&](frmAddEngine* editor) {
                           QCOMPARE(Box(editor, "txtPrefix")->text().size(), 40000);
                           Box(editor, "txtURL")->selectAll();
                           Box(editor, "txtURL")->insert(pasted);
                           QTest::keyClick(Box(editor, "txtPrefix"), Qt::Key_Return);
                       }));
        window.List()->setCurrentIndex(window.Model()->index(0, 0));
        QVERIFY(WorkEditor([&] { doubleClick(QPoint(list->width() / 2, list->height() - 5)); },
                           [](frmAddEngine* editor) {
                               QCOMPARE(Box(editor, "txtPrefix")->text().size(), 4);
                               PressAndRelease(editor, "txtURL", Qt::Key_Return);
                           }));
        QVERIFY(WorkEditor([&] { Use(window, "cmdEditSearchEngine"); },
                           [](frmAddEngine* editor) {
                               QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Search Engine"));
                               Box(editor, "txtPrefix")->setText(QStringLiteral("changed"));
                               PressAndRelease(editor, "txtPrefix", Qt::Key_Escape);
                           }));
        QVERIFY(WorkEditor(
            [&] {
                window.Find("cmdAddSearchEngine")->setFocus();
                QTest::keyClick(window.Find("cmdAddSearchEngine"), Qt::Key_Return);
            },
            [](frmAddEngine* editor) {
                Box(editor, "txtPrefix")->setText(QStringLiteral("g"));
                FindControl(*editor, "cmdOkay")->setFocus();
                QTest::keyClick(FindControl(*editor, "cmdOkay"), Qt::Key_Enter);
            }));
        QVERIFY(WorkEditor([&] { Use(window, "cmdAddSearchEngine"); },
                           [](frmAddEngine* editor) {
                               Box(editor, "txtPrefix")->setText(QStringLiteral("g\th"));
                               QTest::mouseClick(FindControl(*editor, "cmdOkay"), Qt::LeftButton);
                               QVERIFY(editor->isVisible());
                               QTest::mouseClick(FindControl(*editor, "cmdCancel"), Qt::LeftButton);
                               QVERIFY(!editor->isVisible());
                           }));
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Title, QStringLiteral("Add New Search Engine"));
        QCOMPARE(window.ListFile(), ListBytes({odd}) + "PREFIX=" + longPrefix +
                                        "\tURL=" + pasted.toStdString() + "\r\nPREFIX=g\tURL=\r\n");
    }

    // Each item of the Selection Mode menu sets the check boxes only.
    void selectionMenuSetsTheChecks() {
        MainWindow window(Engines{"a", "b", "c"});
        window.Model()->setData(window.Model()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
        const std::pair<int, std::vector<bool>> items[] = {
            {3, {false, true, false}}, {2, {true, true, true}}, {1, {false, false, false}}};
        for (const auto& [item, checks] : items) {
            QTimer::singleShot(50, [item = item] {
                for (int down = 0; down < item; ++down) {
                    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
                }
                QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
            });
            Use(window, "cmdSelectionMode");
            QCOMPARE(window.Checks(), checks);
        }
        QCOMPARE(window.ListFile(), ListBytes({"a", "b", "c"}));
    }

    // Any button released over the maker's link opens the About window, whose links and pictures each open
    // their one address through the main window's shell; a right click on a picture opens nothing.
    void aboutOpensEachAddressOnce() {
        MainWindow window(Engines{"a"});
        std::vector<ShellOpenRequest> expected;
        WhenShown<frmAbout>([&](frmAbout* about) {
            QVERIFY(QDir().mkpath(QStringLiteral(VANTREL_SCREENSHOT_FOLDER)));
            QVERIFY(about->grab().save(QStringLiteral(VANTREL_SCREENSHOT_FOLDER "/about.png")));
            const auto own = static_cast<WindowHandle>(about->winId());
            const std::tuple<const char*, std::string, WindowHandle> clicks[] = {
                {"lnkForums", ForumURL, 0},      {"lnkWebsite", HomePageURL, 0},
                {"imgLogo", HomePageURL, 0},     {"labTitle", ProductPageURL, own},
                {"imgDonate", DonationURL, own}, {"labDonate", DonationURL, own}};
            for (const auto& [name, address, owner] : clicks) {
                QWidget* target = FindControl(*about, name);
                if (qobject_cast<HyperLink*>(target) != nullptr) {
                    target = target->findChild<QLabel*>();
                } else {
                    QTest::mouseClick(target, Qt::RightButton, {}, QPoint(3, 3));
                }
                QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
                expected.push_back({address, "", owner, 1, "", false});
            }
            about->reject();
        });
        ReleaseOverLink(window.Find<HyperLink>("lnkAbout"), Qt::RightButton);
        QVERIFY(!expected.empty());
        QVERIFY(window.Shell().Opened == expected);
    }
};

QTEST_MAIN(FormsTest)
#include "FormsTest.moc"
