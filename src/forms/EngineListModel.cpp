#include "forms/EngineListModel.h"

#include "engines/EraseRows.h"
#include "forms/Local8Bit.h"

#include <stdexcept>

namespace {

enum Column { PrefixColumn = 0, UrlColumn = 1, ColumnCount = 2 };

// Positions outside 1..count are a caller's bug; failing loudly beats corrupting the view.
void CheckPosition(std::size_t index, std::size_t count) {
    if (index < 1 || index > count) {
        throw std::out_of_range("engine row index out of range");
    }
}

} // namespace

EngineListModel::EngineListModel(QObject* parent) : QAbstractTableModel(parent) {}

int EngineListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EngineListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EngineListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const EngineRow& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        const std::string& text = index.column() == PrefixColumn ? row.Text : row.SubItem1;
        return FromLocal8Bit(text);
    }
    if (role == Qt::CheckStateRole && index.column() == PrefixColumn) {
        return row.Checked ? Qt::Checked : Qt::Unchecked;
    }
    return {};
}

bool EngineListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != PrefixColumn || role != Qt::CheckStateRole) {
        return false;
    }
    rows_[static_cast<std::size_t>(index.row())].Checked = value.value<Qt::CheckState>() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant EngineListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return section == PrefixColumn ? QStringLiteral("Prefix") : QStringLiteral("Search Engine");
}

Qt::ItemFlags EngineListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == PrefixColumn) {
        result |= Qt::ItemIsUserCheckable;
    }
    return result;
}

void EngineListModel::Add(EngineRow row) {
    const int position = rowCount();
    beginInsertRows(QModelIndex(), position, position);
    rows_.push_back(std::move(row));
    endInsertRows();
}

void EngineListModel::Set(std::size_t index, EngineRow row) {
    CheckPosition(index, rows_.size());
    rows_[index - 1] = std::move(row);
    const int position = static_cast<int>(index - 1);
    emit dataChanged(this->index(position, PrefixColumn), this->index(position, UrlColumn));
}

void EngineListModel::SetAllChecked(bool checked) {
    for (auto& row : rows_) {
        row.Checked = checked;
    }
    AnnounceAllChecksChanged();
}

void EngineListModel::InvertAllChecked() {
    for (auto& row : rows_) {
        row.Checked = !row.Checked;
    }
    AnnounceAllChecksChanged();
}

void EngineListModel::RemoveMany(std::vector<std::size_t> indexes) {
    if (indexes.empty()) {
        return;
    }
    for (const std::size_t index : indexes) {
        CheckPosition(index, rows_.size());
    }
    beginResetModel();
    EraseRowsAt(rows_, std::move(indexes));
    endResetModel();
}

void EngineListModel::Replace(std::vector<EngineRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void EngineListModel::AnnounceAllChecksChanged() {
    if (rows_.empty()) {
        return;
    }
    emit dataChanged(index(0, PrefixColumn), index(rowCount() - 1, PrefixColumn), {Qt::CheckStateRole});
}
