#include "MainWindowFixture.h"
#include "MessageBoxAnswerer.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "forms/frmAbout/frmAbout.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "support/ReleaseOverLink.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

class frmMainTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    // Only the list buttons and Install depend on rows; the focus goes to Install, or to the list when empty.
    // A missing list is reported before the window shows and leaves it empty.
    void enabledStatesAndFocusFollowTheList() {
        for (const std::optional<Engines>& engines :
             {std::optional(Engines{"a"}), std::optional(Engines{}), std::optional<Engines>()}) {
            MessageBoxAnswerer answerer;
            MainWindowFixture fixture(engines);
            const bool empty = !engines || engines->empty();
            for (const char* name : {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts"}) {
                QVERIFY2(fixture.Find(name)->isEnabled() == !empty, name);
            }
            for (const char* name : {"cmdRemoveShortcuts", "cmdAddSearchEngine", "cmdSelectionMode",
                                     "lnkAbout", "lnkIESearchFix", "lnkRestoreEngines"}) {
                QVERIFY2(fixture.Find(name)->isEnabled(), name);
            }
            // The window system activates the window a moment after it is shown.
            QTRY_COMPARE(QApplication::focusWidget(),
                         fixture.Find(empty ? "lvwEngines" : "cmdInstallShortcuts"));
            QCOMPARE(answerer.Seen.size(), engines ? 0 : 1);
            if (!engines) {
                QCOMPARE(answerer.Seen[0].Title, QStringLiteral("LoadEngines()"));
                QCOMPARE(answerer.Seen[0].Icon, QMessageBox::Critical);
                QVERIFY(answerer.Seen[0].Text.startsWith(
                    QStringLiteral("Error while trying to load search engines.\n\nsBuffer: \nError: ")));
            }
        }
    }

    void selectionMenuOffersItsThreeItemsAndActsOnTheChosenOne() {
        MainWindowFixture fixture(Engines{"a", "b"});
        QStringList shown;
        QTimer::singleShot(50, [&]() {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr && menu->objectName() == QStringLiteral("mnuSELECTIONMODE"));
            for (const QAction* action : menu->actions()) {
                shown << action->objectName() + QLatin1Char('=') + action->text();
            }
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(fixture.Find("cmdSelectionMode"), Qt::LeftButton);
        QCOMPARE(shown.join(QLatin1Char(',')),
                 QStringLiteral("mSELECTNONE=Select None,mSELECTALL=Select All,mSELECTINVERT=Select Invert"));
        QCOMPARE(fixture.Checks(), (std::vector<bool>{false, false}));
    }

    void selectionItemsChangeOnlyTheCheckBoxes() {
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        const std::string file = fixture.ListFile();
        fixture.Model()->setData(fixture.Model()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
        fixture.Select({1, 2});
        const auto trigger = [&](const char* item) { fixture.Window().findChild<QAction*>(item)->trigger(); };

        trigger("mSELECTINVERT");
        QCOMPARE(fixture.Checks(), (std::vector<bool>{false, true, false}));
        trigger("mSELECTALL");
        QCOMPARE(fixture.Checks(), (std::vector<bool>{true, true, true}));
        trigger("mSELECTNONE");
        QCOMPARE(fixture.Checks(), (std::vector<bool>{false, false, false}));

        QCOMPARE(fixture.List()->selectionModel()->selectedRows().size(), 2);
        QCOMPARE(fixture.ListFile(), file);
    }

    // On a row the double-click edits that row; below the rows, the current one.
    void doubleClickEditsTheRowClickedOrTheCurrentOne() {
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        QWidget* list = fixture.List()->viewport();
        QStringList prefixes;
        for (const QPoint at : {fixture.List()->visualRect(fixture.Model()->index(1, 1)).center(),
                                QPoint(list->width() / 2, list->height() - 5)}) {
            WhenShown<frmAddEngine>([&](frmAddEngine* editor) {
                prefixes << editor->findChild<QLineEdit*>(QStringLiteral("txtPrefix"))->text();
                editor->reject();
            });
            // A person's double-click: a click, then the second press that the system reports as a
            // double-click.
            QTest::mouseClick(list, Qt::LeftButton, {}, at);
            QTest::mouseDClick(list, Qt::LeftButton, {}, at);
        }
        QCOMPARE(prefixes, QStringList({QStringLiteral("b"), QStringLiteral("b")}));
    }

    // A focused button answers Return and Enter as it answers Space, in the main window and in the editor.
    void aFocusedButtonAnswersReturnAndSpace() {
        MainWindowFixture fixture(Engines{});
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
            WhenShown<frmAddEngine>([key](frmAddEngine* editor) {
                QWidget* okay = editor->findChild<QWidget*>(QStringLiteral("cmdOkay"));
                okay->setFocus();
                QTest::keyClick(okay, key);
                if (editor->isVisible()) {
                    editor->reject();
                }
            });
            fixture.Find("cmdAddSearchEngine")->setFocus();
            QTest::keyClick(fixture.Find("cmdAddSearchEngine"), key);
        }
        QCOMPARE(fixture.Prefixes(), (Engines{"", "", ""}));
    }

    void anyButtonReleasedOverTheMakerLinkOpensAbout() {
        MainWindowFixture fixture(Engines{"a"});
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            QWidget* owner = nullptr;
            WhenShown<frmAbout>([&](frmAbout* about) {
                owner = about->parentWidget();
                about->reject();
            });
            ReleaseOverLink(fixture.Find<HyperLink>("lnkAbout"), button);
            QCOMPARE(owner, &fixture.Window());
        }
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
