#include "engines/modParse.h"

#include <array>

namespace {

// Calls `visit` with each piece of `text` between occurrences of `delimiter`, left to right, until it returns
// true. Walks the text without copying it, so a record line is searched without building its array of fields.
template <typename Visit> void VisitPieces(std::string_view text, std::string_view delimiter, Visit visit) {
    if (delimiter.empty()) {
        visit(text);
        return;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = text.find(delimiter, start);
        if (found == std::string_view::npos) {
            visit(text.substr(start));
            return;
        }
        if (visit(text.substr(start, found - start))) {
            return;
        }
        start = found + delimiter.size();
    }
}

// The values of the fields named `keys` in the line, each from the first field of its name, found in one
// walk over the line; none when the first field has no separator.
template <std::size_t N>
std::array<std::string_view, N>
FieldValues(std::string_view line, const std::array<std::string_view, N>& keys,
            std::string_view fieldSeparator, std::string_view keyValueSeparator) {
    std::array<std::string_view, N> values{};
    std::array<bool, N> found{};
    std::size_t missing = N;
    bool first = true;
    VisitPieces(line, fieldSeparator, [&](std::string_view field) {
        const std::size_t separator = field.find(keyValueSeparator);
        if (first && separator == std::string_view::npos) {
            return true;
        }
        first = false;
        const std::string_view name =
            separator == std::string_view::npos ? std::string_view{} : field.substr(0, separator);
        for (std::size_t i = 0; i < N; ++i) {
            if (!found[i] && name == keys[i]) {
                found[i] = true;
                --missing;
                if (separator != std::string_view::npos) {
                    values[i] = field.substr(separator + keyValueSeparator.size());
                }
            }
        }
        return missing == 0;
    });
    return values;
}

} // namespace

std::vector<std::string> SplitString(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> pieces;
    VisitPieces(text, delimiter, [&pieces](std::string_view piece) {
        pieces.emplace_back(piece);
        return false;
    });
    return pieces;
}

std::string GetField(std::string_view line, std::string_view key, std::string_view fieldSeparator,
                     std::string_view keyValueSeparator, std::string_view defaultValue) {
    return std::string(GetFieldView(line, key, fieldSeparator, keyValueSeparator, defaultValue));
}

std::string_view GetFieldView(std::string_view line, std::string_view key, std::string_view fieldSeparator,
                              std::string_view keyValueSeparator, std::string_view defaultValue) {
    if (line.empty()) {
        return {};
    }
    const std::string_view value = FieldValues<1>(line, {key}, fieldSeparator, keyValueSeparator)[0];
    return value.empty() ? defaultValue : value;
}

std::string_view RowField(const EngineRow& row, std::string_view key) {
    return GetFieldView(row.Tag, key, "\t", "=", "");
}

std::pair<std::string_view, std::string_view> RowPrefixAndUrl(const EngineRow& row) {
    const auto [prefix, url] = FieldValues<2>(row.Tag, {"PREFIX", "URL"}, "\t", "=");
    return {prefix, url};
}

std::string MakeRecordLine(std::string_view prefix, std::string_view url) {
    constexpr std::string_view prefixKey = "PREFIX=";
    constexpr std::string_view urlKey = "\tURL=";
    std::string line;
    line.reserve(prefixKey.size() + prefix.size() + urlKey.size() + url.size());
    line.append(prefixKey).append(prefix).append(urlKey).append(url);
    return line;
}
