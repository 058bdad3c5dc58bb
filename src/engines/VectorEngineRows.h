#pragma once

#include "engines/EngineRows.h"

#include <vector>

// Engine rows held in a plain vector.
class VectorEngineRows final : public EngineRows {
public:
    std::size_t Count() const override { return rows_.size(); }
    const EngineRow& Row(std::size_t index) const override { return rows_.at(index - 1); }

    void Add(EngineRow row) override { rows_.push_back(std::move(row)); }
    void AddMany(std::vector<EngineRow> rows) override;
    void Set(std::size_t index, EngineRow row) override { rows_.at(index - 1) = std::move(row); }
    void SetChecked(std::size_t index, bool checked) override { rows_.at(index - 1).Checked = checked; }
    void SetAllChecked(bool checked) override;
    void InvertAllChecked() override;
    void Remove(std::size_t index) override;
    void RemoveMany(std::vector<std::size_t> indexes) override;
    void Clear() override { rows_.clear(); }

private:
    std::vector<EngineRow> rows_;
};
