#pragma once

#include "engines/EngineRows.h"

#include <vector>

// Engine rows held in a plain vector. It stays in the core because the benchmarks and the fuzzer run the
// core's list procedures over it as well as the tests; AddMany and SetChecked are how they build their rows.
class VectorEngineRows final : public EngineRows {
public:
    std::size_t Count() const override { return rows_.size(); }
    const EngineRow& Row(std::size_t index) const override { return rows_.at(index - 1); }

    void Add(EngineRow row) override { rows_.push_back(std::move(row)); }
    void Set(std::size_t index, EngineRow row) override { rows_.at(index - 1) = std::move(row); }
    void RemoveMany(std::vector<std::size_t> indexes) override;
    void Replace(std::vector<EngineRow> rows) override { rows_ = std::move(rows); }

    // Appends many rows at once; the same as adding them one by one, in order.
    void AddMany(std::vector<EngineRow> rows);
    void SetChecked(std::size_t index, bool checked) { rows_.at(index - 1).Checked = checked; }

private:
    std::vector<EngineRow> rows_;
};
