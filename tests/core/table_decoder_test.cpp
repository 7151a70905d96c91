// Decoding of valid table files: the header, the descriptors and the text of every kind of cell.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TableBytes.h"
#include "TableDecoder.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Texts = std::vector<std::vector<std::string>>;

// Each row as its id's text followed by its cells' texts.
Texts AllTexts(const TableView& table)
{
    Texts texts;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        std::vector<std::string> line{std::to_string(table.RowId(row))};
        for (std::size_t column = 0; column < table.ColumnCount(); ++column)
            line.push_back(table.CellText(row, column));
        texts.push_back(line);
    }
    return texts;
}

Texts DecodeTexts(const Bytes& bytes)
{
    return AllTexts(DecodeTable(bytes.data(), bytes.size()));
}

const Bytes kCompactExample = {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00,
                               0x49, 0x44, 0x02, 0x07, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};

Bytes FixedExample()
{
    Bytes bytes = {0x51, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    const auto descriptor = [&bytes](const char* name, unsigned char type) {
        const Bytes field(name, name + 4);
        bytes.insert(bytes.end(), field.begin(), field.end());
        bytes.insert(bytes.end(), 60, 0x00);
        bytes.insert(bytes.end(), {type, 0x00, 0x00, 0x00});
    };
    descriptor("Name", 0x01);
    descriptor("Rate", 0x04);
    bytes.insert(bytes.end(), {0x05, 0x00, 0x00, 0x00, 0x02, 0x00, 0x68, 0x69, 0x00, 0x00, 0xC0, 0x3F});
    return bytes;
}

TEST(DecodeTable, CompactExampleFile)
{
    const TableView table = DecodeTable(kCompactExample.data(), kCompactExample.size());
    EXPECT_EQ(table.Header().tag, 0u);
    EXPECT_EQ(table.Header().columnCount, 1u);
    EXPECT_EQ(table.Header().rowCount, 1u);
    ASSERT_EQ(table.ColumnCount(), 1u);
    EXPECT_EQ(ColumnName(table.Columns()[0]), "ID");
    EXPECT_EQ(table.Columns()[0].type, 2);
    EXPECT_EQ(AllTexts(table), (Texts{{"7", "4294967295"}}));
}

TEST(DecodeTable, FixedExampleFile)
{
    const Bytes bytes = FixedExample();
    ASSERT_EQ(bytes.size(), 160u);
    const TableView table = DecodeTable(bytes.data(), bytes.size());
    EXPECT_EQ(table.Header().tag, 81u);
    EXPECT_EQ(table.Header().columnCount, 2u);
    EXPECT_EQ(table.Header().rowCount, 1u);
    ASSERT_EQ(table.ColumnCount(), 2u);
    EXPECT_EQ(ColumnName(table.Columns()[0]), "Name");
    EXPECT_EQ(table.Columns()[0].type, 1);
    EXPECT_EQ(ColumnName(table.Columns()[1]), "Rate");
    EXPECT_EQ(table.Columns()[1].type, 4);
    EXPECT_EQ(AllTexts(table), (Texts{{"5", "hi", "1.500000"}}));
}

TEST(DecodeTable, TrailingBytesChangeNothing)
{
    const Bytes trailers[] = {{0x00}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, Bytes(1000, 0x51)};
    for (const Bytes& trailer : trailers) {
        Bytes compact = kCompactExample;
        compact.insert(compact.end(), trailer.begin(), trailer.end());
        EXPECT_EQ(DecodeTexts(compact), (Texts{{"7", "4294967295"}}));

        Bytes fixed = FixedExample();
        fixed.insert(fixed.end(), trailer.begin(), trailer.end());
        EXPECT_EQ(DecodeTexts(fixed), (Texts{{"5", "hi", "1.500000"}}));
    }
}

TEST(DecodeTable, NumberCodesReadUnsignedValues)
{
    for (const std::int32_t code : {2, 3}) {
        const Bytes bytes = TableBytes::Fixed()
                                .Column("A", code)
                                .Column("B", code)
                                .Row(0xFFFFFFFFu).U32(0xFFFFFFFFu).U32(0x80000000u)
                                .Row(0).U32(0).U32(0x7FFFFFFFu)
                                .Bytes();
        EXPECT_EQ(DecodeTexts(bytes),
                  (Texts{{"4294967295", "4294967295", "2147483648"}, {"0", "0", "2147483647"}}))
            << "code " << code;
    }
}

TEST(DecodeTable, RealCodesFormatTheWidenedFloat)
{
    for (const std::int32_t code : {4, 5}) {
        const Bytes bytes = TableBytes::Compact().Column("R", code).Column("S", code)
                                .Row(1).Real(1.5f).Real(-0.0f)
                                .Bytes();
        EXPECT_EQ(DecodeTexts(bytes), (Texts{{"1", "1.500000", "-0.000000"}})) << "code " << code;
    }
}

TEST(DecodeTable, EmptyTextTakesOnlyItsLengthBytes)
{
    const Bytes bytes = TableBytes::Compact()
                            .Column("T", 1).Column("N", 2).Column("U", 1).Column("V", 1).Column("R", 4)
                            .Row(1).Text("").U32(42).Text("").Text("abc").Real(2.5f)
                            .Row(2).Text("x").U32(43).Text("").Text("").Real(-1.0f)
                            .Bytes();
    const TableView table = DecodeTable(bytes.data(), bytes.size());
    EXPECT_EQ(AllTexts(table), (Texts{{"1", "", "42", "", "abc", "2.500000"}, {"2", "x", "43", "", "", "-1.000000"}}));
    EXPECT_EQ(table.Cell(0, 0).size, 0u);
    EXPECT_EQ(table.Cell(1, 3).size, 0u);
}

TEST(DecodeTable, TextCellsKeepTheirBytes)
{
    const std::string utf8 = "\xE5\x90\x8D\xE5\xAD\x97";  // two CJK characters
    const std::string raw("a\0b\xFF", 4);                 // a zero byte and invalid UTF-8 alike
    const Bytes bytes = TableBytes::Fixed().Column("T", 1).Row(1).Text(utf8).Row(2).Text(raw).Bytes();
    EXPECT_EQ(DecodeTexts(bytes), (Texts{{"1", utf8}, {"2", raw}}));
}

TEST(DecodeTable, ZeroColumnsStillHaveRowIds)
{
    for (TableBytes builder : {TableBytes::Compact(), TableBytes::Fixed()}) {
        const Bytes bytes = builder.Row(3).Row(1).Row(4).Bytes();
        EXPECT_EQ(DecodeTexts(bytes), (Texts{{"3"}, {"1"}, {"4"}}));
    }
}

TEST(DecodeTable, CompactColumnCountIsUnsigned)
{
    TableBytes builder = TableBytes::Compact();
    for (int i = 0; i < 0x8001; ++i)
        builder.Column("", 2);
    const Bytes bytes = builder.Bytes();
    const TableView table = DecodeTable(bytes.data(), bytes.size());
    EXPECT_EQ(table.Header().columnCount, 0x8001u);
    EXPECT_EQ(table.ColumnCount(), 0x8001u);
}

TEST(ColumnName, IsTheBytesBeforeTheFirstZeroAtMost64)
{
    const std::string full64(64, 'N');
    const std::string withZero("ab\0cd", 5);
    const struct {
        const char* layout;
        TableBytes builder;
        std::string name;
        std::string expected;
    } cases[] = {
        {"fixed", TableBytes::Fixed(), full64, full64},
        {"compact", TableBytes::Compact(), full64, full64},
        {"fixed", TableBytes::Fixed(), withZero, "ab"},
        {"compact", TableBytes::Compact(), withZero, "ab"},
        {"fixed", TableBytes::Fixed(), std::string(64, '\0'), ""},
        {"compact", TableBytes::Compact(), "", ""},
    };
    for (const auto& c : cases) {
        // The type code right after the name must not leak into it.
        TableBytes builder = c.builder;
        const Bytes bytes = builder.Column(c.name, 1).Column("next", 2).Bytes();
        const TableView table = DecodeTable(bytes.data(), bytes.size());
        ASSERT_EQ(table.ColumnCount(), 2u);
        EXPECT_EQ(ColumnName(table.Columns()[0]), c.expected) << c.layout << " " << c.name.size();
        EXPECT_EQ(table.Columns()[0].type, 1) << c.layout;
        EXPECT_EQ(ColumnName(table.Columns()[1]), "next") << c.layout;
        EXPECT_EQ(table.Columns()[1].type, 2) << c.layout;
    }
}

}  // namespace
