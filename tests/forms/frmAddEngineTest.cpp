#include "forms/frmAddEngine/frmAddEngine.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "controls/TahomaFont.h"
#include "support/WindowControls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace {

QLineEdit* Prefix(frmAddEngine* editor) {
    return FindControl<QLineEdit>(*editor, "txtPrefix");
}
QLineEdit* URL(frmAddEngine* editor) {
    return FindControl<QLineEdit>(*editor, "txtURL");
}

// Opens the editor with the main window's button and works it while it is open; returns whether it was shown.
bool WorkEditor(MainWindowFixture& fixture, const char* button,
                const std::function<void(frmAddEngine*)>& work) {
    bool shown = false;
    WhenShown<frmAddEngine>([&](frmAddEngine* editor) {
        shown = true;
        work(editor);
        // A check that failed part-way leaves the editor open; close it so the test goes on.
        if (editor->isVisible()) {
            editor->reject();
        }
    });
    QTest::mouseClick(fixture.Find<QPushButton>(button), Qt::LeftButton);
    return shown;
}

void ReleaseKey(QWidget* box, Qt::Key key) {
    QTest::keyPress(box, key);
    QTest::keyRelease(box, key);
}

} // namespace

class frmAddEngineTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    void addingWithReturnAppendsACheckedRowAndSaves() {
        MainWindowFixture fixture(Engines{});
        QVERIFY(WorkEditor(fixture, "cmdAddSearchEngine", [&](frmAddEngine* editor) {
            QCOMPARE(editor->windowTitle(), QStringLiteral("Add New Search Engine"));
            QCOMPARE(FindControl<QLabel>(*editor, "labTitle")->text(),
                     QStringLiteral("Add New Search Engine"));
            QCOMPARE(editor->parentWidget(), &fixture.Window());
            QVERIFY(editor->isModal());
            QVERIFY(Prefix(editor)->text().isEmpty() && URL(editor)->text().isEmpty());
            QTest::keyClicks(Prefix(editor), QStringLiteral("g"));
            QTest::keyClicks(URL(editor), QStringLiteral("http://g.example/?q=%s"));
            QTest::keyPress(URL(editor), Qt::Key_Return);
            QVERIFY2(editor->isVisible(), "Return acts when released, not when pressed");
            QTest::keyRelease(URL(editor), Qt::Key_Return);
        }));
        QCOMPARE(fixture.Prefixes(), (Engines{"g"}));
        QCOMPARE(fixture.Checks(), (std::vector<bool>{true}));
        QCOMPARE(fixture.ListFile(), ListBytes({"g"}));
        QVERIFY(fixture.Find("cmdInstallShortcuts")->isEnabled());
        QVERIFY(!std::filesystem::exists(fixture.StoreFile()));
    }

    void returnInThePrefixBoxAcceptsAnEmptyURL() {
        MainWindowFixture fixture(Engines{"a"});
        QVERIFY(WorkEditor(fixture, "cmdAddSearchEngine",
                           [](frmAddEngine* editor) { ReleaseKey(Prefix(editor), Qt::Key_Return); }));
        QCOMPARE(fixture.Prefixes(), (Engines{"a", ""}));
        QCOMPARE(fixture.ListFile(), ListBytes({"a"}) + "PREFIX=\tURL=\r\n");
    }

    void editingChangesTheCurrentRowInPlaceKeepingItsCheckBox() {
        MainWindowFixture fixture(Engines{"a", "g", "c"});
        fixture.Model()->setData(fixture.Model()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
        fixture.List()->setCurrentIndex(fixture.Model()->index(1, 0));
        QVERIFY(WorkEditor(fixture, "cmdEditSearchEngine", [](frmAddEngine* editor) {
            QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Search Engine"));
            QCOMPARE(FindControl<QLabel>(*editor, "labTitle")->text(), QStringLiteral("Edit Search Engine"));
            QCOMPARE(Prefix(editor)->text(), QStringLiteral("g"));
            QCOMPARE(Prefix(editor)->cursorPosition(), 1);
            QVERIFY(!Prefix(editor)->hasSelectedText());
            QCOMPARE(URL(editor)->text(), QStringLiteral("http://g.example/?q=%s"));
            URL(editor)->setText(QStringLiteral("http://new.example/%s"));
            ReleaseKey(Prefix(editor), Qt::Key_Return);
        }));
        QCOMPARE(fixture.Prefixes(), (Engines{"a", "g", "c"}));
        QCOMPARE(fixture.Checks(), (std::vector<bool>{true, false, true}));
        QCOMPARE(fixture.Model()->Row(2).SubItem1, std::string("http://new.example/%s"));
        QCOMPARE(fixture.ListFile(),
                 ListBytes({"a"}) + "PREFIX=g\tURL=http://new.example/%s\r\n" + ListBytes({"c"}));
    }

    // Okay writes back a text the user left alone byte for byte, bytes the system's encoding cannot show
    // included, and cuts no text, however long, that the list holds or the user pastes.
    void okayKeepsUntouchedBytesAndCutsNoText() {
        const std::string odd = "caf\xE9";
        const std::string longPrefix(40000, 'x');
        const QString pasted(50000, QLatin1Char('p'));
        MainWindowFixture fixture(Engines{odd, longPrefix});
        for (const int row : {0, 1}) {
            fixture.List()->setCurrentIndex(fixture.Model()->index(row, 0));
            QVERIFY(WorkEditor(fixture, "cmdEditSearchEngine", [&](frmAddEngine* editor) {
                if (row == 1) {
                    URL(editor)->selectAll();
                    URL(editor)->insert(pasted);
                }
                ReleaseKey(Prefix(editor), Qt::Key_Return);
            }));
        }
        QCOMPARE(fixture.ListFile(),
                 ListBytes({odd}) + "PREFIX=" + longPrefix + "\tURL=" + pasted.toStdString() + "\r\n");
    }

    void escapeCancelAndTheCloseBoxChangeNothing() {
        for (const QString how : {"escape in prefix", "escape in url", "cancel", "close box"}) {
            MainWindowFixture fixture(Engines{"a"});
            bool closed = false;
            QVERIFY(WorkEditor(fixture, "cmdEditSearchEngine", [&](frmAddEngine* editor) {
                Prefix(editor)->setText(QStringLiteral("changed"));
                URL(editor)->setText(QStringLiteral("changed"));
                if (how == QStringLiteral("escape in prefix")) {
                    QTest::keyPress(Prefix(editor), Qt::Key_Escape);
                    QVERIFY2(editor->isVisible(), "Escape acts when released, not when pressed");
                    QTest::keyRelease(Prefix(editor), Qt::Key_Escape);
                } else if (how == QStringLiteral("escape in url")) {
                    ReleaseKey(URL(editor), Qt::Key_Escape);
                } else if (how == QStringLiteral("cancel")) {
                    QTest::mouseClick(FindControl(*editor, "cmdCancel"), Qt::LeftButton);
                } else {
                    editor->close();
                }
                closed = !editor->isVisible();
            }));
            QVERIFY2(closed, qPrintable(how));
            QCOMPARE(fixture.Prefixes(), (Engines{"a"}));
            QCOMPARE(fixture.Model()->Row(1).Tag, std::string("PREFIX=a\tURL=http://a.example/?q=%s"));
            QCOMPARE(fixture.ListFile(), ListBytes({"a"}));
        }
    }

    void okayRefusesATabAndKeepsTheText() {
        MainWindowFixture fixture(Engines{"a"});
        MessageBoxAnswerer answerer;
        QVERIFY(WorkEditor(fixture, "cmdAddSearchEngine", [&](frmAddEngine* editor) {
            Prefix(editor)->setText(QStringLiteral("g\th"));
            URL(editor)->setText(QStringLiteral("u"));
            QTest::mouseClick(FindControl(*editor, "cmdOkay"), Qt::LeftButton);
            QVERIFY(editor->isVisible());
            QCOMPARE(Prefix(editor)->text(), QStringLiteral("g\th"));
            QCOMPARE(answerer.Seen.size(), 1);
            QCOMPARE(answerer.Seen[0].Title, QStringLiteral("Add New Search Engine"));
            QCOMPARE(answerer.Seen[0].Text,
                     QStringLiteral("A prefix or URL cannot contain a TAB or a line break."));
            QCOMPARE(answerer.Seen[0].Icon, QMessageBox::Warning);
            QCOMPARE(answerer.Seen[0].Owner, editor);
            editor->reject();
        }));
        QCOMPARE(fixture.Prefixes(), (Engines{"a"}));
        QCOMPARE(fixture.ListFile(), ListBytes({"a"}));
    }

    void aFailedSaveOnOkayIsReportedAndTheRowStays() {
        MainWindowFixture fixture(Engines{"a"});
        std::filesystem::remove(EngineFile);
        std::filesystem::create_directory(EngineFile);
        QVERIFY(ReplaceFileAtomically(EngineFile + "/keeps-it-a-folder", "x").ok());
        MessageBoxAnswerer answerer;
        QVERIFY(WorkEditor(fixture, "cmdAddSearchEngine", [](frmAddEngine* editor) {
            Prefix(editor)->setText(QStringLiteral("g"));
            ReleaseKey(Prefix(editor), Qt::Key_Return);
        }));
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Title, QStringLiteral("SaveEngines()"));
        QCOMPARE(fixture.Prefixes(), (Engines{"a", "g"}));
    }
};

QTEST_MAIN(frmAddEngineTest)
#include "frmAddEngineTest.moc"
