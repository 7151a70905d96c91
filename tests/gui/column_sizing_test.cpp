// Column widths and row heights after a load equal what the toolkit's own autosizing gives
// a plain grid showing the same table: every cell measured, sizes kept as minimums.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "TableDecoder.h"
#include "TableGridModel.h"
#include "ViewerHarness.h"

namespace {

struct Sizes {
    std::vector<int> colWidths, colMinimums, rowHeights, rowMinimums;
};

// The minimum sizes are protected in wxGrid; a pointer to the member taken through a
// derived class reaches them on any grid.
struct MinimumSizes : wxGrid {
    static int Width(const wxGrid& grid, int col) { return (grid.*&MinimumSizes::GetColMinimalWidth)(col); }
    static int Height(const wxGrid& grid, int row) { return (grid.*&MinimumSizes::GetRowMinimalHeight)(row); }
};

Sizes SizesOf(wxGrid& grid)
{
    Sizes sizes;
    for (int col = 0; col < grid.GetNumberCols(); ++col) {
        sizes.colWidths.push_back(grid.GetColSize(col));
        sizes.colMinimums.push_back(MinimumSizes::Width(grid, col));
    }
    for (int row = 0; row < grid.GetNumberRows(); ++row) {
        sizes.rowHeights.push_back(grid.GetRowSize(row));
        sizes.rowMinimums.push_back(MinimumSizes::Height(grid, row));
    }
    return sizes;
}

// A plain grid beside the main one, set up as the main window sets up its grid and given
// the same table, formats and row labels; then sized by the toolkit.
Sizes ToolkitSizes(const std::vector<unsigned char>& bytes)
{
    auto* grid = new wxGrid(&Frame(), wxID_ANY, wxPoint(0, 0), wxSize(400, 300));
    grid->SetUseNativeColLabels(true);
    grid->SetColLabelSize(20);
    grid->SetDefaultCellFont(grid->GetFont());
    TableView table = DecodeTable(bytes.data(), bytes.size());
    const std::vector<ColumnDescriptor> columns = table.Columns();
    grid->SetTable(new TableGridModel(std::move(table)), true, wxGrid::wxGridSelectCells);
    grid->SetColFormatNumber(0);
    for (size_t k = 0; k < columns.size(); ++k) {
        const int col = static_cast<int>(k) + 1;
        if (IsNumberType(columns[k].type))
            grid->SetColFormatNumber(col);
        else if (IsRealType(columns[k].type))
            grid->SetColFormatFloat(col, -1, -1);
    }
    for (int row = 0; row < grid->GetNumberRows(); ++row) {
        if (Grid().GetRowLabelValue(row) != grid->GetRowLabelValue(row))
            grid->SetRowLabelValue(row, Grid().GetRowLabelValue(row));
    }
    grid->AutoSizeColumns(true);
    grid->AutoSizeRows(true);
    const Sizes sizes = SizesOf(*grid);
    delete grid;
    Frame().Layout();
    return sizes;
}

struct SizingCase {
    const char* name;
    TableBytes table;
    std::vector<std::pair<std::string, std::string>> catalogue;
};

void PrintTo(const SizingCase& sizing, std::ostream* out)
{
    *out << sizing.name;
}

TableBytes TextColumn(const std::string& label, const std::vector<std::string>& texts)
{
    TableBytes table = TableBytes::Compact().Column(label, 1);
    std::uint32_t id = 1;
    for (const std::string& text : texts)
        table.Row(id++).Text(text);
    return table;
}

// Texts of narrow and wide letters and pairs that fonts kern, many more than the number of
// candidates that are measured whole.
TableBytes KerningColumn()
{
    const std::string letters = "AVWTo.il1 ,fjLYr";
    std::vector<std::string> texts;
    std::uint32_t seed = 12345;
    for (int row = 0; row < 300; ++row) {
        std::string text;
        seed = seed * 1103515245u + 12345u;
        const int length = 8 + static_cast<int>((seed >> 16) % 5);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += letters[(seed >> 16) % letters.size()];
        }
        texts.push_back(text);
    }
    return TextColumn("Kerning", texts);
}

std::vector<SizingCase> Cases()
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    return {
        {"Ascii",
         TableBytes::Compact().Column("Name", 1).Column("Count", 2)
             .Row(1).Text("a").U32(1).Row(2).Text("hello world").U32(123456).Row(3).Text("WWWWWW").U32(7)
             .Row(4).Text("iiiiiiiiiiii").U32(99),
         {}},
        {"Chinese", TextColumn("名称", {"中文", "二维表查看器", "abc中文def", "全角，标点。"}), {}},
        {"MultiLine", TextColumn("Lines", {"line1\n\nline3\n", "\n", "a\nb", "\n\n\nx", "tail\n", "x"}), {}},
        {"EmptyTexts",
         TableBytes::Compact().Column("Empty", 1).Column("Mixed", 1)
             .Row(1).Text("").Text("").Row(2).Text("").Text("x").Row(3).Text("").Text(""),
         {}},
        {"EmptyLabelAndEmptyTexts", TextColumn("", {"", ""}), {}},
        {"TabsAndControlCharacters", TextColumn("Ctl", {"a\tb", "\tx", "bell\x07", "x"}), {}},
        {"InvalidUtf8", TextColumn("Bad", {"\xff\xfe" "ab", "ok", "\xe4\xb8"}), {}},
        {"WideNumbers",
         TableBytes::Fixed().Column("N", 2).Column("M", 3)
             .Row(4294967295u).U32(4294967295u).U32(8).Row(0).U32(1111111111).U32(0).Row(8).U32(0).U32(11),
         {}},
        {"Floats",
         TableBytes::Fixed().Column("R", 4).Column("S", 5)
             .Row(1).Real(-1.5f).Real(nan).Row(2).Real(inf).Real(-inf).Row(3).Real(3.4e38f).Real(-3.4e38f)
             .Row(4).Real(1e-10f).Real(-0.0f).Row(5).Real(-nan).Real(0.1f),
         {}},
        {"LabelWiderThanCells",
         TableBytes::Compact().Column("AVeryLongColumnLabelIndeed", 2).Column("名称很长的列标签", 1)
             .Row(1).U32(1).Text("x").Row(2).U32(2).Text(""),
         {}},
        {"KerningPairs", KerningColumn(), {}},
        {"NamedRows",
         TableBytes::Compact().Column("_NameID", 2).Column("Text", 1)
             .Row(10).U32(1).Text("a").Row(11).U32(2).Text("b").Row(12).U32(3).Text("c").Row(13).U32(4).Text("d"),
         {{"1", "First"}, {"2", "Two\nlines"}, {"3", "甲\n\n乙\n"}}},
    };
}

class ColumnSizing : public ViewerTest, public testing::WithParamInterface<SizingCase> {};

// As in use, each table follows another one: here one of wide columns and tall rows.
TableBytes PreviousTable()
{
    TableBytes table = TableBytes::Compact();
    for (int k = 0; k < 4; ++k)
        table.Column("a rather wide column label " + std::to_string(k), 1);
    for (std::uint32_t row = 0; row < 3; ++row) {
        table.Row(4000000000u + row);
        for (int k = 0; k < 4; ++k)
            table.Text("a rather wide cell text\nof\nfour lines");
    }
    return table;
}

TEST_P(ColumnSizing, EqualsTheToolkitsAutosizing)
{
    const SizingCase& sizing = GetParam();
    Load(Write("previous.qrb", PreviousTable()));
    if (!sizing.catalogue.empty())
        m_folder.WriteCatalogue(sizing.catalogue);
    const std::vector<unsigned char> bytes = sizing.table.Bytes();
    Load(m_folder.Write("sized.qrb", bytes));
    ASSERT_GT(Grid().GetNumberCols(), 0);
    if (!sizing.catalogue.empty()) {
        ASSERT_EQ(Utf8(Grid().GetRowLabelValue(1)), "Two\nlines") << "the rows were not named";
    }

    const Sizes loaded = SizesOf(Grid());
    const Sizes expected = ToolkitSizes(bytes);
    EXPECT_EQ(loaded.colWidths, expected.colWidths);
    EXPECT_EQ(loaded.colMinimums, expected.colMinimums);
    EXPECT_EQ(loaded.rowHeights, expected.rowHeights);
    EXPECT_EQ(loaded.rowMinimums, expected.rowMinimums);
}

INSTANTIATE_TEST_SUITE_P(Tables, ColumnSizing, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<SizingCase>& info) { return info.param.name; });

}  // namespace
