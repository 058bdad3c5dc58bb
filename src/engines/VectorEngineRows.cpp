#include "engines/VectorEngineRows.h"

#include "engines/EraseRows.h"

#include <iterator>

void VectorEngineRows::AddMany(std::vector<EngineRow> rows) {
    if (rows_.empty()) {
        rows_ = std::move(rows);
        return;
    }
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
}

void VectorEngineRows::RemoveMany(std::vector<std::size_t> indexes) {
    EraseRowsAt(rows_, std::move(indexes));
}
