#pragma once

#include "engines/EngineRows.h"

#include <QAbstractTableModel>

#include <vector>

// The engine rows behind the main window's list view: column 0 shows the prefix with the row's check box,
// column 1 the URL. Bulk changes announce themselves once (a reset or one dataChanged), so a view over
// 100,000 rows stays quick.
class EngineListModel final : public QAbstractTableModel, public EngineRows {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EngineListModel)

public:
    explicit EngineListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    std::size_t Count() const override { return rows_.size(); }
    const EngineRow& Row(std::size_t index) const override { return rows_.at(index - 1); }
    void Add(EngineRow row) override;
    void Set(std::size_t index, EngineRow row) override;
    void RemoveMany(std::vector<std::size_t> indexes) override;
    void Replace(std::vector<EngineRow> rows) override;

    // The Selection Mode menu: set, or invert, every row's check box.
    void SetAllChecked(bool checked);
    void InvertAllChecked();

private:
    void AnnounceAllChecksChanged();

    std::vector<EngineRow> rows_;
};
