#include "MainWindowFixture.h"
#include "MessageBoxAnswerer.h"
#include "controls/HyperLink.h"
#include "controls/MultiRule.h"
#include "controls/TahomaFont.h"
#include "forms/frmAbout/frmAbout.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "support/ReleaseOverLink.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

QString TextOf(QWidget* control) {
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    if (auto* link = qobject_cast<HyperLink*>(control)) {
        return link->Caption();
    }
    return QString();
}

QString ToolTipOf(QWidget* control) {
    if (auto* link = qobject_cast<HyperLink*>(control)) {
        return link->ToolTip();
    }
    return control->toolTip();
}

const QString BodyText = QStringLiteral(
    "Clicking Install will install the list of search engine shortcuts below, which will allow you to type "
    "in a "
    "Prefix and a search string into any IE address bar and press Return to perform a search using that "
    "respective engine. If you don't understand any of below, then just hit Install.");

const char* const TabOrder[] = {"cmdInstallShortcuts",
                                "Label1",
                                "labTitle",
                                "labBody",
                                "lvwEngines",
                                "cmdAddSearchEngine",
                                "cmdEditSearchEngine",
                                "cmdRemoveSearchEngine",
                                "cmdSelectionMode",
                                "lnkAbout",
                                "lnkIESearchFix",
                                "lnkRestoreEngines",
                                "cmdRemoveShortcuts"};

} // namespace

class frmMainTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterTahoma(); }

    void windowIsFixedCaptionedAndInTahoma() {
        MainWindowFixture fixture(Engines{"a"});
        frmMain& window = fixture.Window();
        QCOMPARE(window.windowTitle(), QStringLiteral("IE Vantrel v2.00"));
        QCOMPARE(window.size(), QSize(518, 333));
        QCOMPARE(window.minimumSize(), QSize(518, 333));
        QCOMPARE(window.maximumSize(), QSize(518, 333));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(window.windowIcon().availableSizes().value(0), QSize(32, 32));
        QCOMPARE(QFontInfo(window.font()).family(), QStringLiteral("Tahoma"));
        QCOMPARE(window.font().pointSizeF(), 8.25);
        QVERIFY(QFontInfo(fixture.Find<QLabel>("labTitle")->font()).bold());
        QVERIFY(!QFontInfo(fixture.Find<QLabel>("labBody")->font()).bold());
        QVERIFY(fixture.Find<QLabel>("labBody")->wordWrap());
        QCOMPARE(fixture.Find<QLabel>("imgLogo")->pixmap().size(), QSize(48, 48));
        QCOMPARE(fixture.Find<QLabel>("Label1")->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void controlsSitWhereTheTablePutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        const QString none;
        const QString searchFix = QStringLiteral("Fix any searching problems with Internet Explorer");
        const QString restore = QStringLiteral("Restore the original search engines");
        const auto row = [](const char* name, QRect geometry, const QString& text, const QString& toolTip) {
            QTest::newRow(name) << QString::fromLatin1(name) << geometry << text << toolTip;
        };
        row("Label1", {-126, -14, 675, 86}, QString(), none);
        row("imgLogo", {8, 11, 48, 48}, QString(), none);
        row("labTitle", {65, 8, 68, 13}, QStringLiteral("IE Vantrel"), none);
        row("labBody", {65, 22, 448, 39}, BodyText, none);
        row("MultiRule1", {-90, 71, 625, 6}, QString(), none);
        row("lvwEngines", {7, 80, 504, 176}, QString(), none);
        row("cmdAddSearchEngine", {7, 260, 122, 25}, QStringLiteral("Add Search Engine"),
            QStringLiteral("Add a new search engine"));
        row("cmdEditSearchEngine", {131, 260, 122, 25}, QStringLiteral("Edit Search Engine"),
            QStringLiteral("Edit the selected search engine"));
        row("cmdRemoveSearchEngine", {255, 260, 122, 25}, QStringLiteral("Remove Selected"),
            QStringLiteral("Remove all of the selected search engines"));
        row("MultiRule3", {387, 257, 8, 28}, QString(), none);
        row("cmdSelectionMode", {399, 260, 112, 25}, QStringLiteral("Selection Mode"),
            QStringLiteral("Search engine selection mode"));
        row("MultiRule2", {-179, 290, 734, 8}, QString(), none);
        row("imgDorvane", {11, 303, 20, 16}, QString(), QStringLiteral("Dorvane Solutions"));
        row("lnkAbout", {35, 305, 84, 12}, QStringLiteral("Dorvane Solutions"),
            QStringLiteral("View application information"));
        row("MultiRule4", {126, 298, 8, 25}, QString(), none);
        row("imgSearchFix", {136, 303, 16, 16}, QString(), searchFix);
        row("lnkIESearchFix", {154, 305, 66, 12}, QStringLiteral("IE Search Fix"), searchFix);
        row("MultiRule5", {226, 298, 8, 25}, QString(), none);
        row("imgRestoreEngines", {236, 303, 16, 16}, QString(), restore);
        row("lnkRestoreEngines", {254, 305, 81, 12}, QStringLiteral("Restore Engines"), restore);
        row("cmdInstallShortcuts", {399, 299, 55, 27}, QStringLiteral("Install"),
            QStringLiteral("Install the shortcuts"));
        row("cmdRemoveShortcuts", {455, 299, 55, 27}, QStringLiteral("Remove"),
            QStringLiteral("Remove the shortcuts"));
    }

    void controlsSitWhereTheTablePutsThem() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        MainWindowFixture fixture(Engines{"a"});
        QWidget* control = fixture.Find(qPrintable(name));
        if (qobject_cast<HyperLink*>(control) != nullptr) {
            // A link takes the size of its caption; its place is the table's.
            QCOMPARE(control->pos(), geometry.topLeft());
        } else {
            QCOMPARE(control->geometry(), geometry);
        }
        QCOMPARE(TextOf(control), text);
        QCOMPARE(ToolTipOf(control), toolTip);
        QVERIFY(control->isVisible());
    }

    void tabOrderFollowsTheTable() {
        MainWindowFixture fixture(Engines{"a"});
        QStringList expected;
        for (const char* name : TabOrder) {
            if (fixture.Find(name)->focusPolicy() != Qt::NoFocus) {
                expected << QString::fromLatin1(name);
            }
        }
        QVERIFY(expected.size() >= 7);
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
        QVERIFY(!list->isSortingEnabled());
        QVERIFY(!list->rootIsDecorated());
        const QModelIndex first = list->model()->index(0, 0);
        QCOMPARE(first.data().toString(), QStringLiteral("g"));
        QCOMPARE(list->model()->index(0, 1).data().toString(), QStringLiteral("http://g.example/?q=%s"));
        QCOMPARE(first.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
        QCOMPARE(list->model()->index(0, 1).data(Qt::CheckStateRole), QVariant());
    }

    void aFullListEnablesEverythingAndInstallHoldsTheFocus() {
        MainWindowFixture fixture(Engines{"a"});
        QVERIFY(QTest::qWaitForWindowActive(&fixture.Window()));
        for (const char* name :
             {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts", "cmdRemoveShortcuts",
              "cmdAddSearchEngine", "cmdSelectionMode", "lnkAbout", "lnkIESearchFix", "lnkRestoreEngines"}) {
            QVERIFY2(fixture.Find(name)->isEnabled(), name);
        }
        QCOMPARE(QApplication::focusWidget(), fixture.Find("cmdInstallShortcuts"));
    }

    void anEmptyListDisablesTheListButtonsAndTheListTakesTheFocus() {
        MainWindowFixture fixture(Engines{});
        QVERIFY(QTest::qWaitForWindowActive(&fixture.Window()));
        for (const char* name : {"cmdEditSearchEngine", "cmdRemoveSearchEngine", "cmdInstallShortcuts"}) {
            QVERIFY2(!fixture.Find(name)->isEnabled(), name);
        }
        for (const char* name : {"cmdRemoveShortcuts", "cmdAddSearchEngine", "cmdSelectionMode", "lnkAbout",
                                 "lnkIESearchFix", "lnkRestoreEngines"}) {
            QVERIFY2(fixture.Find(name)->isEnabled(), name);
        }
        QCOMPARE(QApplication::focusWidget(), fixture.Find("lvwEngines"));
    }

    void aMissingListIsReportedBeforeTheWindowShows() {
        MessageBoxAnswerer answerer;
        MainWindowFixture fixture(std::nullopt);
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Title, QStringLiteral("LoadEngines()"));
        QCOMPARE(answerer.Seen[0].Icon, QMessageBox::Critical);
        QVERIFY(answerer.Seen[0].Text.startsWith(
            QStringLiteral("Error while trying to load search engines.\n\nsBuffer: \nError: ")));
        QCOMPARE(fixture.Model()->Count(), 0U);
        QVERIFY(!fixture.Find("cmdInstallShortcuts")->isEnabled());
    }

    void selectionMenuOffersItsThreeItems() {
        MainWindowFixture fixture(Engines{"a"});
        QStringList shown;
        bool popped = false;
        QTimer::singleShot(50, [&]() {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            popped = menu != nullptr && menu->objectName() == QStringLiteral("mnuSELECTIONMODE");
            if (menu != nullptr) {
                for (const QAction* action : menu->actions()) {
                    shown << action->objectName() + QLatin1Char('=') + action->text();
                }
                menu->close();
            }
        });
        QTest::mouseClick(fixture.Find("cmdSelectionMode"), Qt::LeftButton);
        QVERIFY(popped);
        QCOMPARE(shown, (QStringList{QStringLiteral("mSELECTNONE=Select None"),
                                     QStringLiteral("mSELECTALL=Select All"),
                                     QStringLiteral("mSELECTINVERT=Select Invert")}));
        QCOMPARE(fixture.Checks(), (std::vector<bool>{true}));
    }

    void selectionItemsChangeOnlyTheCheckBoxes() {
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        const std::string file = fixture.ListFile();
        fixture.Model()->SetChecked(2, false);
        fixture.Select({1, 2});
        const auto trigger = [&](const char* item) { fixture.Window().findChild<QAction*>(item)->trigger(); };

        trigger("mSELECTINVERT");
        QCOMPARE(fixture.Checks(), (std::vector<bool>{false, true, false}));
        trigger("mSELECTINVERT");
        QCOMPARE(fixture.Checks(), (std::vector<bool>{true, false, true}));
        trigger("mSELECTALL");
        QCOMPARE(fixture.Checks(), (std::vector<bool>{true, true, true}));
        trigger("mSELECTNONE");
        QCOMPARE(fixture.Checks(), (std::vector<bool>{false, false, false}));

        QCOMPARE(fixture.List()->selectionModel()->selectedRows().size(), 2);
        QCOMPARE(fixture.ListFile(), file);
    }

    void chosenMenuItemActsOnTheList() {
        MainWindowFixture fixture(Engines{"a", "b"});
        QTimer::singleShot(50, []() {
            QWidget* menu = QApplication::activePopupWidget();
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(fixture.Find("cmdSelectionMode"), Qt::LeftButton);
        QCOMPARE(fixture.Checks(), (std::vector<bool>{false, false}));
    }

    void doubleClickEditsTheRowClicked() {
        MainWindowFixture fixture(Engines{"a", "b", "c"});
        QString prefix;
        WhenShown<frmAddEngine>([&](frmAddEngine* editor) {
            prefix = editor->findChild<QLineEdit*>(QStringLiteral("txtPrefix"))->text();
            editor->reject();
        });
        const QRect row = fixture.List()->visualRect(fixture.Model()->index(1, 1));
        // A person's double-click: a click, then the second press that the system reports as a double-click.
        QTest::mouseClick(fixture.List()->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(fixture.List()->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(prefix, QStringLiteral("b"));
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
