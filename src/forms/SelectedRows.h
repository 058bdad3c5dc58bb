#pragma once

#include <cstddef>
#include <vector>

class QItemSelectionModel;

// The 1-based positions of the rows the user has selected, in no particular order. Reads the selection's
// ranges directly: a view that selects whole rows needs no per-row check, which keeps 50,000 scattered rows
// quick.
std::vector<std::size_t> SelectedRowPositions(const QItemSelectionModel& selection);
