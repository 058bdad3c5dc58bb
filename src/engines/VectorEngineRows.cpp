#include "engines/VectorEngineRows.h"

#include "engines/EraseRows.h"

#include <iterator>
#include <stdexcept>

void VectorEngineRows::AddMany(std::vector<EngineRow> rows) {
    if (rows_.empty()) {
        rows_ = std::move(rows);
        return;
    }
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
}

void VectorEngineRows::SetAllChecked(bool checked) {
    for (auto& row : rows_) {
        row.Checked = checked;
    }
}

void VectorEngineRows::InvertAllChecked() {
    for (auto& row : rows_) {
        row.Checked = !row.Checked;
    }
}

void VectorEngineRows::Remove(std::size_t index) {
    if (index < 1 || index > rows_.size()) {
        throw std::out_of_range("engine row index out of range");
    }
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index - 1));
}

void VectorEngineRows::RemoveMany(std::vector<std::size_t> indexes) {
    EraseRowsAt(rows_, std::move(indexes));
}
