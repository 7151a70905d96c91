// Malformed table files and the message each one must give, and where each type code is refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TableBytes.h"
#include "TableDecoder.h"
#include "TableError.h"

namespace {

using Bytes = std::vector<unsigned char>;

const std::wstring kIllegal = messages::kIllegalFile;
const std::wstring kUnknownType = messages::kUnknownType;

// The message the decoder raises for these bytes, or an empty text when they decode.
std::wstring DecodeMessage(const Bytes& bytes)
{
    try {
        DecodeTable(bytes.data(), bytes.size());
    } catch (const TableError& error) {
        return error.Message();
    }
    return L"";
}

// A small file with every kind of cell, a text cell in the middle of the row.
Bytes SmallValidFile(TableBytes builder)
{
    return builder.Column("Id", 2).Column("Name", 1).Column("Rate", 4).Column("Alt", 3)
        .Row(1).U32(10).Text("ab").Real(0.5f).U32(7)
        .Row(2).U32(20).Text("").Real(1.0f).U32(8)
        .Bytes();
}

TEST(DecodeTable, EveryPrefixOfAValidFileIsIllegal)
{
    for (TableBytes builder : {TableBytes::Compact(), TableBytes::Fixed()}) {
        const Bytes full = SmallValidFile(builder);
        ASSERT_EQ(DecodeMessage(full), L"");
        for (std::size_t length = 0; length < full.size(); ++length) {
            const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_EQ(DecodeMessage(prefix), kIllegal) << "prefix of " << length << " of " << full.size();
        }
    }
}

TEST(DecodeTable, FirstByteSelectsTheLayout)
{
    Bytes bytes = TableBytes::Fixed().Bytes();
    for (int first = 0; first < 256; ++first) {
        if (first == 0x00 || first == 0x51)
            continue;
        bytes[0] = static_cast<unsigned char>(first);
        EXPECT_EQ(DecodeMessage(bytes), kIllegal) << "first byte " << first;
    }
}

TEST(DecodeTable, TagMustBeExactlyZeroOrEightyOne)
{
    for (TableBytes builder : {TableBytes::Compact(), TableBytes::Fixed()}) {
        // Without columns and rows the tag is the only thing that can be wrong.
        const Bytes valid = builder.Bytes();
        ASSERT_EQ(DecodeMessage(valid), L"");
        for (std::size_t position = 1; position < 4; ++position) {
            for (const unsigned char value : {0x01, 0x51, 0x80, 0xFF}) {
                Bytes bytes = valid;
                bytes[position] = value;
                EXPECT_EQ(DecodeMessage(bytes), kIllegal)
                    << "first byte " << int{valid[0]} << ", byte " << position << " = " << int{value};
            }
        }
    }
}

TEST(DecodeTable, MalformedFiles)
{
    const struct {
        const char* name;
        Bytes bytes;
        std::wstring message;
    } cases[] = {
        {"empty file", {}, kIllegal},
        {"compact: 65535 columns, none present", TableBytes::Compact().ColumnCount(0xFFFF).Raw(10, 0).Bytes(), kIllegal},
        {"fixed: 4 billion columns", TableBytes::Fixed().ColumnCount(0xFFFFFFFFu).Raw(8, 0).Bytes(), kIllegal},
        // 63161284 * 68 wraps to 16 in 32 bits.
        {"fixed: column bytes wrap 32 bits", TableBytes::Fixed().ColumnCount(63161284u).Raw(16, 0).Bytes(), kIllegal},
        {"compact: 4 billion rows of ids", TableBytes::Compact().RowCount(0xFFFFFFFFu).Row(1).Row(2).Bytes(), kIllegal},
        {"fixed: 4 billion rows with a text", TableBytes::Fixed().Column("T", 1).RowCount(0xFFFFFFFFu).Bytes(), kIllegal},
        // 0x40000001 rows of 4 bytes wrap to 4 bytes in 32 bits.
        {"fixed: row bytes wrap 32 bits", TableBytes::Fixed().RowCount(0x40000001u).Row(1).Bytes(), kIllegal},
        {"rows fit their smallest size, not their texts",
         TableBytes::Compact().Column("T", 1).Row(1).Text("abc").Row(2).Text("").RowCount(3).Raw(4, 0).Bytes(),
         kIllegal},
        {"compact: name length 65", TableBytes::Compact().Column(std::string(65, 'n'), 2).Bytes(), kIllegal},
        {"compact: name length 65535", TableBytes::Compact().ColumnCount(1).U16(0xFFFF).Raw(0xFFFF + 1, 'n').Bytes(),
         kIllegal},
        {"text length past the end", TableBytes::Compact().Column("T", 1).Row(1).U16(10).Raw("abc").Bytes(), kIllegal},
        {"text length 65535 past the end", TableBytes::Fixed().Column("T", 1).Row(1).U16(0xFFFF).Bytes(), kIllegal},
        {"text in the last row past the end",
         TableBytes::Compact().Column("N", 2).Column("T", 1).Row(1).U32(0).Text("ok").Row(2).U32(0).U16(3).Raw("ok").Bytes(),
         kIllegal},
        // Faults are found in order: all descriptors, then every column's code, then the rows.
        {"bad code before a cut descriptor", TableBytes::Compact().Column("A", 7).ColumnCount(2).U16(4).Raw("ab").Bytes(),
         kIllegal},
        {"bad code before a cut row", TableBytes::Fixed().Column("A", 2).Column("B", 0).RowCount(1).Raw(2, 0).Bytes(),
         kUnknownType},
        {"code 6 after a cut cell", TableBytes::Fixed().Column("A", 2).Column("B", 6).Row(1).Raw(2, 0).Bytes(), kIllegal},
        {"code 6 after a whole cell", TableBytes::Fixed().Column("A", 1).Column("B", 6).Row(1).Text("x").Bytes(),
         kUnknownType},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeMessage(c.bytes), c.message) << c.name;
}

TEST(DecodeTable, TypeCodes)
{
    const struct {
        std::int32_t code;
        bool withRow;
        std::wstring message;
    } cases[] = {
        {0, false, kUnknownType},      {7, false, kUnknownType},  {-1, false, kUnknownType},
        {0x101, false, kUnknownType},  // a decoder that looked at the low byte only would accept it
        {0x01000001, false, kUnknownType}, {INT32_MIN, false, kUnknownType},
        {6, false, L""},               {6, true, kUnknownType},
        {1, true, L""},                {5, true, L""},
    };
    for (const auto& c : cases) {
        TableBytes builder = TableBytes::Fixed().Column("C", c.code);
        if (c.withRow)
            builder.Row(1).U32(0).Raw({0x00, 0x00});  // enough for any cell that can be decoded
        EXPECT_EQ(DecodeMessage(builder.Bytes()), c.message) << "code " << c.code << (c.withRow ? " with a row" : "");
    }
}

TEST(DecodeTable, CodeSixColumnLoadsWithoutRows)
{
    const Bytes bytes = TableBytes::Compact().Column("F", 6).Column("T", 1).Bytes();
    const TableView table = DecodeTable(bytes.data(), bytes.size());
    ASSERT_EQ(table.ColumnCount(), 2u);
    EXPECT_EQ(table.Columns()[0].type, 6);
    EXPECT_EQ(table.RowCount(), 0u);
}

TEST(DecodeTable, CompactCodesAbove0x7FAreNegative)
{
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const Bytes bytes = TableBytes::Compact().Column("C", byte).Bytes();
        ByteReader reader(bytes.data(), bytes.size());
        const TableHeader header = DecodeHeader(reader);
        const std::vector<ColumnDescriptor> columns = DecodeColumnDescriptors(reader, header);
        ASSERT_EQ(columns.size(), 1u);
        EXPECT_EQ(columns[0].type, byte - 0x100);
        EXPECT_EQ(DecodeMessage(bytes), kUnknownType) << "type byte " << byte;
    }
}

}  // namespace
