// Column names as labels: whatever the bytes, the label shows the name, never an empty text.
#include <gtest/gtest.h>

#include "TableGridModel.h"

namespace {

TEST(ColumnLabel, NamesInEveryEncodingTablesUse)
{
    const struct {
        const char* what;
        std::string bytes;
        const wchar_t* label;
    } cases[] = {
        {"ASCII", "_NameID", L"_NameID"},
        {"empty", "", L""},
        {"UTF-8", "\xE5\x90\x8D\xE7\xA7\xB0", L"名称"},
        {"GBK of Chinese Windows", "\xC3\xFB\xB3\xC6", L"名称"},
        {"neither: each bad byte shows", "a\xFF", L"a\uFFFD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColumnLabelFromBytes(c.bytes), wxString(c.label)) << c.what;
}

}  // namespace
