#include "forms/EngineListModel.h"
#include "engines/modGUI.h"

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

class EngineListModelTest final : public QObject {
    Q_OBJECT

private slots:
    void showsPrefixWithCheckBoxAndURL() {
        EngineListModel model;
        model.Add(MakeEngineRow("g\xc3\xa9", "http://g.example/?q=%s"));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("g\u00e9"));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("http://g.example/?q=%s"));
        QVERIFY(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
        QVERIFY(!model.flags(model.index(0, 1)).testFlag(Qt::ItemIsUserCheckable));
        QVERIFY(!model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEditable));
    }

    void aClickOnTheBoxChangesOnlyChecked() {
        EngineListModel model;
        model.Add(MakeEngineRow("g", "u"));
        QVERIFY(model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(model.Row(1), (EngineRow{"g", "u", "PREFIX=g\tURL=u", false}));
        QCOMPARE(model.index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QVERIFY(!model.setData(model.index(0, 1), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("renamed"), Qt::EditRole));
        QCOMPARE(model.Row(1).Text, std::string("g"));
    }

    void bulkChangesAnnounceThemselvesOnce() {
        EngineListModel model;
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
        model.AddMany(Rows(1000));
        model.SetChecked(2, false);
        model.InvertAllChecked();
        model.SetAllChecked(false);
        model.RemoveMany({1, 500, 1000});
        model.Clear();
        QCOMPARE(resets.size(), 3);
        QCOMPARE(changes.size(), 3);
        QCOMPARE(changes[1][0].value<QModelIndex>().row(), 0);
        QCOMPARE(changes[1][1].value<QModelIndex>().row(), 999);
    }

    void rowsKeepTheirOrderThroughEveryChange() {
        EngineListModel model;
        model.AddMany(Rows(6));
        model.SetChecked(2, false);
        model.InvertAllChecked();
        QCOMPARE(model.Row(1).Checked, false);
        QCOMPARE(model.Row(2).Checked, true);
        model.RemoveMany({5, 2});
        QCOMPARE(Prefixes(model), (std::vector<std::string>{"p1", "p3", "p4", "p6"}));
        model.Remove(1);
        model.Set(2, MakeEngineRow("x", "y"));
        model.Add(MakeEngineRow("z", "w"));
        QCOMPARE(Prefixes(model), (std::vector<std::string>{"p3", "x", "p6", "z"}));
        QCOMPARE(model.rowCount(), 4);
    }

    void positionsOutsideTheListAreRefused() {
        EngineListModel model;
        model.AddMany(Rows(2));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.Remove(3));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.RemoveMany({0}));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.Set(0, EngineRow{}));
        QCOMPARE(model.Count(), 2U);
    }
};

QTEST_MAIN(EngineListModelTest)
#include "EngineListModelTest.moc"
