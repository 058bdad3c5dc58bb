#pragma once

#include "engines/modGUI.h"

#include <string>
#include <vector>

// `count` engines whose prefixes and URLs all carry `label`, so that two such lists differ in every row.
inline std::vector<EngineRow> FaultEngines(std::size_t count, const std::string& label) {
    std::vector<EngineRow> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        rows.push_back(
            MakeEngineRow(label + "-" + n, "https://" + label + ".example/search?n=" + n + "&q=%s"));
    }
    return rows;
}
