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

namespace {

// A link keeps its caption and tip itself; every other control in Qt's properties.
std::pair<QString, QString> TextAndTip(QWidget* control) {
    if (auto* link = qobject_cast<HyperLink*>(control)) {
        return {link->Caption(), link->ToolTip()};
    }
    return {control->property("text").toString(), control->toolTip()};
}

const QStringList TabOrder = QStringLiteral("cmdInstallShortcuts Label1 labTitle labBody lvwEngines "
                                            "cmdAddSearchEngine cmdEditSearchEngine cmdRemoveSearchEngine "
                                            "cmdSelectionMode lnkAbout lnkIESearchFix lnkRestoreEngines "
                                            "cmdRemoveShortcuts")
                                 .split(QLatin1Char(' '));

} // namespace

class frmMainTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    void windowIsFixedCaptionedAndInTahoma() {
        MainWindowFixture fixture(Engines{"a"});
        frmMain& window = fixture.Window();
        QCOMPARE(window.windowTitle(), QStringLiteral("IE Vantrel v2.00"));
        QCOMPARE(window.minimumSize(), QSize(518, 333));
        QCOMPARE(window.maximumSize(), QSize(518, 333));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(window.windowIcon().availableSizes().value(0), QSize(32, 32));
        QCOMPARE(window.font(), TahomaFont());
        QVERIFY(QFontInfo(fixture.Find<QLabel>("labTitle")->font()).bold());
        QCOMPARE(fixture.Find<QLabel>("imgLogo")->pixmap().size(), QSize(48, 48));
        QCOMPARE(fixture.Find<QLabel>("Label1")->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void controlsSitWhereTheTablePutsThem_data() {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        const char* searchFix = "Fix any searching problems with Internet Explorer";
        const char* restore = "Restore the original search engines";
        const auto row = [](const char* name, QRect geometry, const char* text = "",
                            const char* toolTip = "") {
            QTest::newRow(name) << geometry << QString::fromUtf8(text) << QString::fromUtf8(toolTip);
        };
        row("Label1", {-126, -14, 675, 86});
        row("imgLogo", {8, 11, 48, 48});
        row("labTitle", {65, 8, 68, 13}, "IE Vantrel");
        row("labBody", {65, 22, 448, 39},
            "Clicking Install will install the list of search engine shortcuts below, which will allow "
            "you to type in a Prefix and a search string into any IE address bar and press Return to "
            "perform a search using that respective engine. If you don't understand any of below, then "
            "just hit Install.");
        row("MultiRule1", {-90, 71, 625, 6});
        row("lvwEngines", {7, 80, 504, 176});
        row("cmdAddSearchEngine", {7, 260, 122, 25}, "Add Search Engine", "Add a new search engine");
        row("cmdEditSearchEngine", {131, 260, 122, 25}, "Edit Search Engine",
            "Edit the selected search engine");
        row("cmdRemoveSearchEngine", {255, 260, 122, 25}, "Remove Selected",
            "Remove all of the selected search engines");
        row("MultiRule3", {387, 257, 8, 28});
        row("cmdSelectionMode", {399, 260, 112, 25}, "Selection Mode", "Search engine selection mode");
        row("MultiRule2", {-179, 290, 734, 8});
        row("imgDorvane", {11, 303, 20, 16}, "", "Dorvane Solutions");
        row("lnkAbout", {35, 305, 84, 12}, "Dorvane Solutions", "View application information");
        row("MultiRule4", {126, 298, 8, 25});
        row("imgSearchFix", {136, 303, 16, 16}, "", searchFix);
        row("lnkIESearchFix", {154, 305, 66, 12}, "IE Search Fix", searchFix);
        row("MultiRule5", {226, 298, 8, 25});
        row("imgRestoreEngines", {236, 303, 16, 16}, "", restore);
        row("lnkRestoreEngines", {254, 305, 81, 12}, "Restore Engines", restore);
        row("cmdInstallShortcuts", {399, 299, 55, 27}, "Install", "Install the shortcuts");
        row("cmdRemoveShortcuts", {455, 299, 55, 27}, "Remove", "Remove the shortcuts");
    }

    void controlsSitWhereTheTablePutsThem() {
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        MainWindowFixture fixture(Engines{"a"});
        QWidget* control = fixture.Find(QTest::currentDataTag());
        if (qobject_cast<HyperLink*>(control) != nullptr) {
            // A link takes the size of its caption; its place is the table's.
            QCOMPARE(control->pos(), geometry.topLeft());
        } else {
            QCOMPARE(control->geometry(), geometry);
        }
        QCOMPARE(TextAndTip(control), std::pair(text, toolTip));
        QVERIFY(control->isVisible());
    }

    void tabOrderFollowsTheTable() {
        MainWindowFixture fixture(Engines{"a"});
        QStringList expected = TabOrder;
        expected.removeIf([&](const QString& name) {
            return fixture.Find(qPrintable(name))->focusPolicy() == Qt::NoFocus;
        });
        QStringList seen;
        QWidget* widget = fixture.Find("cmdInstallShortcuts");
        do {
            if (expected.contains(widget->objectName()) && !seen.contains(widget->objectName())) {
                seen << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        } while (widget != fixture.Find("cmdInstallShortcuts"));
        QCOMPARE(seen, expected);
    }

    void listHasTwoFixedColumnsChecksAndManySelection() {
        MainWindowFixture fixture(Engines{"g", "b"});
        QTreeView* list = fixture.List();
        QCOMPARE(list->header()->sectionSize(0), 100);
        QCOMPARE(list->header()->sectionSize(1), 383);
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Prefix"));
        QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Search Engine"));
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(list->model()->index(0, 1).data().toString(), QStringLiteral("http://g.example/?q=%s"));
        QCOMPARE(list->model()->index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
        QCOMPARE(list->model()->index(0, 1).data(Qt::CheckStateRole), QVariant());
    }

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
