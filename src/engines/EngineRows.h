#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One engine as a row of the engine list: its prefix (the row's text), its URL (sub-item 1), its record line
// (`Tag`, the authoritative copy) and whether it is to be installed.
struct EngineRow {
    std::string Text;
    std::string SubItem1;
    std::string Tag;
    bool Checked = true;

    bool operator==(const EngineRow&) const = default;
};

// The rows of the engine list, in display order, addressed 1..Count(): what the core reads and changes.
// Implemented by a plain vector in the core and by the model behind the main window's list view.
class EngineRows {
public:
    virtual ~EngineRows() = default;

    virtual std::size_t Count() const = 0;
    // Row `index`, 1 <= index <= Count().
    virtual const EngineRow& Row(std::size_t index) const = 0;

    virtual void Add(EngineRow row) = 0;
    // Replaces row `index`, keeping its position.
    virtual void Set(std::size_t index, EngineRow row) = 0;
    // Removes the rows at the given positions (any order, no duplicates); the other rows keep their order.
    virtual void RemoveMany(std::vector<std::size_t> indexes) = 0;
    // Replaces every row at once.
    virtual void Replace(std::vector<EngineRow> rows) = 0;
};
