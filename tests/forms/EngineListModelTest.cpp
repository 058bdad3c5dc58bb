#include "forms/EngineListModel.h"
#include "engines/modGUI.h"
#include "forms/SelectedRows.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QtTest>

#include <string>
#include <vector>

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

// Every change runs under Qt's model tester, which fails the test on any broken promise of the model
// contract.
class EngineListModelTest final : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(EngineListModelTest)
#include "EngineListModelTest.moc"
