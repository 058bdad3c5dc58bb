#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Erases the elements at the given 1-based positions from `rows` in one pass, keeping the order of the rest.
template <typename Row> void EraseRowsAt(std::vector<Row>& rows, std::vector<std::size_t> positions) {
    std::sort(positions.begin(), positions.end());
    auto next = positions.begin();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (next != positions.end() && *next == i + 1) {
            ++next;
            continue;
        }
        if (kept != i) {
            rows[kept] = std::move(rows[i]);
        }
        ++kept;
    }
    rows.resize(kept);
}
