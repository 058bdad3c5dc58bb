#include "engines/VectorEngineRows.h"
#include "engines/modFileIO.h"
#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// The default list that ships beside the program: canonical lines, distinct short prefixes, https search
// addresses.
TEST(DefaultList, HoldsCanonicalDistinctSearchEngines) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(VANTREL_DEFAULT_LIST, bytes).ok()) << VANTREL_DEFAULT_LIST;
    VectorEngineRows rows;
    rows.AddMany(ParseEngineList(bytes));

    EXPECT_GE(rows.Count(), 15U);
    EXPECT_EQ(FormatEngineList(rows), bytes);
    std::set<std::string> prefixes;
    for (std::size_t i = 1; i <= rows.Count(); ++i) {
        const EngineRow& row = rows.Row(i);
        EXPECT_TRUE(prefixes.insert(row.Text).second) << row.Text;
        EXPECT_TRUE(!row.Text.empty() && row.Text.size() <= 4) << row.Text;
        EXPECT_TRUE(row.SubItem1.starts_with("https://")) << row.SubItem1;
        EXPECT_NE(row.SubItem1.find("%s"), std::string::npos) << row.SubItem1;
    }
}
