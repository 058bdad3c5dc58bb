#include "forms/SelectedRows.h"

#include <QItemSelectionModel>

#include <algorithm>

std::vector<std::size_t> SelectedRowPositions(const QItemSelectionModel& selection) {
    std::vector<std::size_t> positions;
    for (const QItemSelectionRange& range : selection.selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            positions.push_back(static_cast<std::size_t>(row) + 1);
        }
    }
    // Ranges may overlap; each row counts once.
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}
