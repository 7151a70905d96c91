// Reading a decoded table: cells in any order give what a sequential read gives, and the
// row pass reports each whole per cent once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TableBytes.h"
#include "TableDecoder.h"
#include "TableError.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A table written cell by cell, with the text each cell must show.
struct GeneratedTable {
    Bytes bytes;
    std::vector<std::uint32_t> ids;
    std::vector<std::vector<std::string>> texts;
};

std::string PrintfReal(float value)
{
    char buffer[128];
    std::snprintf(buffer, sizeof(buffer), "%f", static_cast<double>(value));
    return buffer;
}

GeneratedTable Generate(TableBytes builder, const std::vector<std::int32_t>& types, std::size_t rows)
{
    std::mt19937 random(12345);
    GeneratedTable table;
    for (std::size_t k = 0; k < types.size(); ++k)
        builder.Column("c" + std::to_string(k), types[k]);
    for (std::size_t row = 0; row < rows; ++row) {
        const std::uint32_t id = random();
        builder.Row(id);
        table.ids.push_back(id);
        std::vector<std::string> line;
        for (const std::int32_t type : types) {
            if (type == 1) {
                // Empty texts often, and now and then one past 255 bytes to need both length bytes.
                const std::size_t length = random() % 4 == 0 ? 0 : random() % 8 == 0 ? 300 : random() % 12;
                std::string text;
                for (std::size_t i = 0; i < length; ++i)
                    text.push_back(static_cast<char>('a' + random() % 26));
                builder.Text(text);
                line.push_back(text);
            } else if (type == 2 || type == 3) {
                const std::uint32_t value = random();
                builder.U32(value);
                line.push_back(std::to_string(value));
            } else {
                const float value = std::uniform_real_distribution<float>(-1e6f, 1e6f)(random);
                builder.Real(value);
                line.push_back(PrintfReal(value));
            }
        }
        table.texts.push_back(line);
    }
    table.bytes = builder.Bytes();
    return table;
}

void ExpectRandomAccessMatches(const GeneratedTable& expected)
{
    const TableView table = DecodeTable(expected.bytes.data(), expected.bytes.size());
    ASSERT_EQ(table.RowCount(), expected.texts.size());
    std::vector<std::pair<std::size_t, std::size_t>> cells;
    for (std::size_t row = 0; row < table.RowCount(); ++row)
        for (std::size_t column = 0; column < table.ColumnCount(); ++column)
            cells.emplace_back(row, column);
    std::shuffle(cells.begin(), cells.end(), std::mt19937(99));

    for (const auto& [row, column] : cells) {
        const std::string& text = expected.texts[row][column];
        EXPECT_EQ(table.CellText(row, column), text) << "row " << row << ", column " << column;
        const CellBytes cell = table.Cell(row, column);
        EXPECT_EQ(cell.type, table.Columns()[column].type);
        if (cell.type == 1)
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(cell.data), cell.size), text);
        else
            EXPECT_EQ(cell.size, 4u);
    }
    for (std::size_t row = table.RowCount(); row-- > 0;)
        EXPECT_EQ(table.RowId(row), expected.ids[row]) << "row " << row;
}

TEST(TableView, RandomAccessToFixedSizeRows)
{
    ExpectRandomAccessMatches(Generate(TableBytes::Fixed(), {2, 4, 3, 5, 2, 2, 4}, 60));
}

TEST(TableView, RandomAccessToRowsWithTexts)
{
    // Texts first, last, side by side and between numbers.
    ExpectRandomAccessMatches(Generate(TableBytes::Compact(), {1, 2, 1, 1, 4, 3, 1, 5, 1}, 60));
    ExpectRandomAccessMatches(Generate(TableBytes::Fixed(), {2, 2, 1, 4}, 60));
}

std::vector<unsigned> Progress(const Bytes& bytes)
{
    std::vector<unsigned> reported;
    DecodeTable(bytes.data(), bytes.size(), [&reported](unsigned percent) { reported.push_back(percent); });
    return reported;
}

std::vector<unsigned> Percents(unsigned count)
{
    std::vector<unsigned> percents(count);
    for (unsigned i = 0; i < count; ++i)
        percents[i] = i;
    return percents;
}

TEST(TableView, ReportsEachWholePercentOnce)
{
    const struct {
        std::size_t rows;
        std::vector<unsigned> expected;
    } cases[] = {
        {0, {}}, {1, {0}}, {3, {0, 33, 66}}, {4, {0, 25, 50, 75}}, {200, Percents(100)}, {250, Percents(100)},
    };
    for (const auto& c : cases) {
        // Fixed-size rows and rows with texts are indexed differently.
        for (const std::vector<std::int32_t>& types : {std::vector<std::int32_t>{2, 4}, {2, 1}}) {
            const Bytes bytes = Generate(TableBytes::Compact(), types, c.rows).bytes;
            EXPECT_EQ(Progress(bytes), c.expected) << c.rows << " rows, second code " << types[1];
        }
    }
}

TEST(TableView, ReportsTheRowsDoneBeforeACutRow)
{
    const Bytes bytes = TableBytes::Compact().Column("T", 1)
                            .Row(1).Text("abcdef").Row(2).Text("").Row(3).U16(5).Raw("ab")
                            .Bytes();
    std::vector<unsigned> reported;
    EXPECT_THROW(DecodeTable(bytes.data(), bytes.size(), [&reported](unsigned p) { reported.push_back(p); }),
                 TableError);
    EXPECT_EQ(reported, (std::vector<unsigned>{0, 33}));
}

}  // namespace
