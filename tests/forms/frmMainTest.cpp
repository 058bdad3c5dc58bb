#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "controls/HyperLink.h"
#include "controls/TahomaFont.h"
#include "engines/modGUI.h"
#include "forms/EngineListModel.h"
#include "forms/QtPrompt.h"
#include "forms/SelectedRows.h"
#include "forms/frmAbout/frmAbout.h"
#include "forms/frmAddEngine/frmAddEngine.h"
#include "support/ReleaseOverLink.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

namespace {

// What the box showed when it came up.
struct ShownBox {
    QString Text;
    QString DetailedText;
    int Height = 0;
};

// Shows the message through the prompt, reads the real box once it is up and answers it with `answer`.
PromptAnswer ShowAndAnswer(const PromptMessage& message, QMessageBox::StandardButton answer,
                           ShownBox& shown) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        poll.stop();
        shown = {box->text(), box->detailedText(), box->frameGeometry().height()};
        box->button(answer)->click();
    });
    poll.start(5);
    QtPrompt prompt;
    return prompt.Show(message);
}

std::string Lines(int count) {
    std::string text = "This will remove the SELECTED search engines,";
    for (int i = 1; i < count; ++i) {
        text += "\r\nengine" + std::to_string(i);
    }
    return text;
}

} // namespace

namespace {

std::vector<EngineRow> Rows(int count) {
    std::vector<EngineRow> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back(MakeEngineRow("p" + std::to_string(i), "http://" + std::to_string(i) + ".example/%s"));
    }
    return rows;
}

std::vector<std::string> Prefixes(const EngineListModel& model) {
    std::vector<std::string> prefixes;
    for (std::size_t i = 1; i <= model.Count(); ++i) {
        prefixes.push_back(model.Row(i).Text);
    }
    return prefixes;
}

} // namespace

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

    void ShortTextIsShownWholeWithItsLineBreaks() {
        ShownBox shown;
        const PromptAnswer answer = ShowAndAnswer({"Remove Shortcuts", JoinLines({"first", "", "third"}),
                                                   PromptIcon::Information, PromptButtons::Ok},
                                                  QMessageBox::Ok, shown);
        QCOMPARE(answer, PromptAnswer::Ok);
        QCOMPARE(shown.Text, QStringLiteral("first\n\nthird"));
        QVERIFY(shown.DetailedText.isEmpty());
    }

    void VeryLongTextFitsOnTheScreenAndKeepsAllOfItInTheDetails() {
        ShownBox shown;
        const PromptAnswer answer = ShowAndAnswer(
            {"Remove Selected Engines", Lines(50000), PromptIcon::Question, PromptButtons::YesNo},
            QMessageBox::No, shown);
        QCOMPARE(answer, PromptAnswer::No);
        const QStringList shownLines = shown.Text.split(QLatin1Char('\n'));
        QCOMPARE(shownLines.size(), 41);
        QCOMPARE(shownLines.first(), QStringLiteral("This will remove the SELECTED search engines,"));
        QCOMPARE(shownLines.at(39), QStringLiteral("engine39"));
        QCOMPARE(shownLines.last(), QStringLiteral("\u2026"));
        QCOMPARE(shown.DetailedText,
                 QString::fromStdString(Lines(50000)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(shown.Height < QApplication::primaryScreen()->availableGeometry().height());
    }
    void everyChangeKeepsTheContractAndTheOrder() {
        EngineListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        model.Replace(Rows(6));
        QVERIFY(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(1, 1), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(1, 0), QStringLiteral("renamed"), Qt::EditRole));
        model.InvertAllChecked();
        QCOMPARE(model.Row(1).Checked, false);
        QCOMPARE(model.Row(2).Checked, true);
        model.RemoveMany({5, 2});
        model.Set(2, MakeEngineRow("x", "y"));
        model.Add(MakeEngineRow("z", "w"));
        QCOMPARE(Prefixes(model), (std::vector<std::string>{"p1", "x", "p4", "p6", "z"}));
        QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("y"));
        model.SetAllChecked(false);
        QCOMPARE(model.index(4, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QCOMPARE(resets.size(), 2);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.RemoveMany({0}));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.Set(6, EngineRow{}));
        QCOMPARE(model.Count(), 5U);
    }

    void theEditorsBytesAreShownAsText() {
        EngineListModel model;
        model.Add(MakeEngineRow("g\xc3\xa9", "u"));
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("g\u00e9"));
    }

    void eachSelectedRowCountsOnceWhateverTheRanges() {
        EngineListModel model;
        for (int i = 0; i < 8; ++i) {
            model.Add(MakeEngineRow("p" + std::to_string(i), "u"));
        }
        QItemSelectionModel selection(&model);
        QCOMPARE(SelectedRowPositions(selection), std::vector<std::size_t>{});

        const auto rows = [&](int top, int bottom) {
            return QItemSelection(model.index(top, 0), model.index(bottom, 1));
        };
        selection.select(rows(5, 6), QItemSelectionModel::Select);
        selection.select(rows(1, 1), QItemSelectionModel::Select);
        selection.select(rows(4, 5), QItemSelectionModel::Select);
        QCOMPARE(SelectedRowPositions(selection), (std::vector<std::size_t>{2, 5, 6, 7}));

        selection.select(rows(5, 5), QItemSelectionModel::Deselect);
        QCOMPARE(SelectedRowPositions(selection), (std::vector<std::size_t>{2, 5, 7}));
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
