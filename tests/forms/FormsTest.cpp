#include "MakerSite.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "forms/frmAbout/frmAbout.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"

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

// Control, answer to its first box, the box's title, rows and shortcuts left; on a, b, both selected.
const std::tuple<const char*, QMessageBox::StandardButton, QString, Engines, bool> Commands[] = {
    {"cmdEditSearchEngine", QMessageBox::NoButton, "", {}, false},
    {"cmdInstallShortcuts", QMessageBox::Ok, "InstallEngines()", {"a", "b"}, true},
    {"cmdRemoveShortcuts", QMessageBox::Ok, "Remove Shortcuts", {"a", "b"}, false},
    {"cmdRemoveSearchEngine", QMessageBox::No, "Remove Selected Engines", {"a", "b"}, false},
    {"cmdRemoveSearchEngine", QMessageBox::Yes, "Remove Selected Engines", {}, false},
    {"lnkIESearchFix", QMessageBox::No, "IE Search Fix", {"a", "b"}, false},
    {"lnkIESearchFix", QMessageBox::Yes, "IE Search Fix", {"a", "b"}, true},
    {"lnkRestoreEngines", QMessageBox::No, "Restore Search Engines", {"a", "b"}, false},
    {"lnkRestoreEngines", QMessageBox::Yes, "Restore Search Engines", {"x", "y", "z"}, false}};

// Clicks a control, or a link's text, where the link listens.
void Click(QWidget* control, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* linkText = control->findChild<QLabel*>();
    QTest::mouseClick(linkText != nullptr ? linkText : control, button);
}

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

} // namespace

class FormsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    // The start focus; Install and Remove report, the others ask and act on Yes; buttons follow the rows. The
    // case without a title starts on an empty list, where the disabled Edit does nothing.
    void commandsReachTheListAndTheStore() {
        for (const auto& [control, answer, title, left, stored] : Commands) {
            MainWindow window(title.isEmpty() ? Engines{} : Engines{"a", "b"});
            QTRY_COMPARE(QApplication::focusWidget(),
                         window.Find(title.isEmpty() ? "lvwEngines" : "cmdInstallShortcuts"));
            window.Select({1, 2});
            MessageBoxAnswerer answerer({answer});
            Click(window.Find(control));
            QCOMPARE(answerer.Seen.value(0).Title, title);
            QCOMPARE(answerer.Seen.value(0).Buttons == QMessageBox::Ok, answer == QMessageBox::Ok);
            QCOMPARE(window.Prefixes(), left);
            QCOMPARE(window.ListFile(), ListBytes(left));
            QCOMPARE(OpenUserRegistry()->KeyExists(RegRoot::CurrentUser, SearchUrl), stored);
            for (const char* name : {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts"}) {
                QVERIFY2(window.Find(name)->isEnabled() == !left.empty(), name);
            }
        }
    }

    // The selection decides, not the checks; overlapping ranges count each row once. The question names the
    // rows bottom first, as plain text, and being long shows 40 lines, all of it in the details, on screen.
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
        Click(window.Find("cmdRemoveSearchEngine"));
        const SeenBox box = answerer.Seen.value(0);
        QCOMPARE(box.Format, Qt::PlainText);
        QCOMPARE(box.Text.count(QLatin1Char('\n')), 40);
        QVERIFY(box.Text.endsWith(QStringLiteral("\n\u2026")) && box.Details.startsWith(box.Text.chopped(1)));
        QVERIFY(box.Details.endsWith(QStringLiteral("\n") + bottomFirst));
        QVERIFY(box.Height < QApplication::primaryScreen()->availableGeometry().height());
        QCOMPARE(window.Prefixes(), Engines{"p2"});
    }

    // A double-click below the rows and Edit edit the current row; 8-bit text left alone stays byte for byte.
    // Return and Escape act when released, Return and Enter press a focused button, a refusal keeps it open.
    void editorKeysAndTexts() {
        const std::string longPrefix(40000, 'x');
        const QString pasted(50000, QLatin1Char('p'));
        MainWindow window(Engines{"caf\xE9", longPrefix});
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
        QVERIFY(window.List()->visualRect(window.Model()->index(2, 0)).isValid());
        QCOMPARE(window.ListFile(), ListBytes({"caf\xE9"}) + "PREFIX=" + longPrefix +
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
            Click(window.Find("cmdSelectionMode"));
            QCOMPARE(window.Checks(), checks);
        }
    }

    // The maker's link opens About: links open their address on any button, pictures on a left click only.
    void aboutOpensEachAddressOnce() {
        MainWindow window(Engines{"a"});
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
            about->reject();
        });
        Click(window.Find("lnkAbout"), Qt::RightButton);
        QVERIFY(!expected.empty() && window.Shell().Opened == expected);
    }
};

QTEST_MAIN(FormsTest)
#include "FormsTest.moc"
