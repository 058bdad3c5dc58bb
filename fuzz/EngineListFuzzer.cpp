// The list file reader: whatever the bytes, every row's prefix and URL are the fields of its Tag and the Tag
// is the record line of the two; the rows read, written and read again are the same rows, and writing them
// again gives the same bytes.
#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "engines/modParse.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    VectorEngineRows rows;
    rows.AddMany(ParseEngineList(input));
    for (std::size_t i = 1; i <= rows.Count(); ++i) {
        const EngineRow& row = rows.Row(i);
        if (row.Tag != MakeRecordLine(row.Text, row.SubItem1) ||
            row.Text != GetField(row.Tag, "PREFIX", "\t", "=", "") ||
            row.SubItem1 != GetField(row.Tag, "URL", "\t", "=", "") || !row.Checked) {
            std::abort();
        }
    }
    const std::string written = FormatEngineList(rows);

    VectorEngineRows reread;
    reread.AddMany(ParseEngineList(written));
    if (reread.Count() != rows.Count()) {
        std::abort();
    }
    for (std::size_t i = 1; i <= rows.Count(); ++i) {
        if (!(reread.Row(i) == rows.Row(i))) {
            std::abort();
        }
    }
    if (FormatEngineList(reread) != written) {
        std::abort();
    }
    return 0;
}
