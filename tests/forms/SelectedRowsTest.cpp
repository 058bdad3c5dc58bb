#include "forms/SelectedRows.h"
#include "engines/modGUI.h"
#include "forms/EngineListModel.h"

#include <QItemSelectionModel>
#include <QtTest>

class SelectedRowsTest final : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(SelectedRowsTest)
#include "SelectedRowsTest.moc"
