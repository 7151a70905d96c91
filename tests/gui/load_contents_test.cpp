// What a load puts in the grid, read back through the grid's own interface: cells, labels
// and column formats; and how a load replaces what the one before left (cells, edits, the
// open file).
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "ViewerHarness.h"

namespace {

using Texts = std::vector<std::string>;
using Cells2D = std::vector<Texts>;

// The column's format as its renderer shows it: "number", "float -1 -1" or "text".
std::string ColumnFormat(int col)
{
    wxGridCellRenderer* renderer = nullptr;
    if (Grid().GetNumberRows() > 0) {
        renderer = Grid().GetCellRenderer(0, col);
    } else if (wxGridCellAttr* attr = Grid().GetTable()->GetAttr(0, col, wxGridCellAttr::Col)) {
        if (attr->HasRenderer())
            renderer = attr->GetRenderer(&Grid(), 0, col);
        attr->DecRef();
    }
    if (!renderer)
        return "text";
    std::string format;
    if (typeid(*renderer) == typeid(wxGridCellNumberRenderer)) {
        format = "number";
    } else if (typeid(*renderer) == typeid(wxGridCellFloatRenderer)) {
        const auto* real = static_cast<wxGridCellFloatRenderer*>(renderer);
        format = "float " + std::to_string(real->GetWidth()) + " " + std::to_string(real->GetPrecision());
    } else if (typeid(*renderer) == typeid(wxGridCellStringRenderer)) {
        format = "text";
    } else {
        format = typeid(*renderer).name();
    }
    renderer->DecRef();
    return format;
}

Texts ColumnFormats()
{
    Texts formats;
    for (int col = 0; col < Grid().GetNumberCols(); ++col)
        formats.push_back(ColumnFormat(col));
    return formats;
}

const std::string kFloat = "float -1 -1";

struct Expected {
    const char* name;
    std::vector<unsigned char> bytes;
    Texts columnLabels;
    Texts formats;
    Cells2D cells;
    const char* dimensions;
};

void PrintTo(const Expected& expected, std::ostream* out)
{
    *out << expected.name;
}

TableBytes EveryCellKind()
{
    return TableBytes::Fixed()
        .Column("Name", 1).Column("Count", 2).Column("Flags", 3).Column("Rate", 4).Column("Scale", 5)
        .Row(0).Text("hi").U32(0).U32(4294967295u).Real(1.5f).Real(-2.25f)
        .Row(4294967295u).Text("").U32(42).U32(7).Real(0.0f).Real(1e10f)
        .Row(7).Text("中文\n二行").U32(1).U32(2).Real(0.1f).Real(-0.5f);
}

std::vector<Expected> Cases()
{
    return {
        {"CompactExample",
         {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00,
          0x49, 0x44, 0x02, 0x07, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
         {"_nRow", "ID"},
         {"number", "number"},
         {{"7", "4294967295"}},
         "1 * 1"},
        {"FixedExample",
         TableBytes::Fixed().Column("Name", 1).Column("Rate", 4)
             .Row(5).Text("hi").Raw({0x00, 0x00, 0xC0, 0x3F}).Bytes(),
         {"_nRow", "Name", "Rate"},
         {"number", "text", kFloat},
         {{"5", "hi", "1.500000"}},
         "1 * 2"},
        // The empty text occupies only its length bytes: the next cell still reads 42.
        {"EveryCellKind",
         EveryCellKind().Bytes(),
         {"_nRow", "Name", "Count", "Flags", "Rate", "Scale"},
         {"number", "text", "number", "number", kFloat, kFloat},
         {{"0", "hi", "0", "4294967295", "1.500000", "-2.250000"},
          {"4294967295", "", "42", "7", "0.000000", "10000000000.000000"},
          {"7", "中文\n二行", "1", "2", "0.100000", "-0.500000"}},
         "3 * 5"},
        // A column of code 6 cannot be decoded, but without rows there is nothing to decode.
        {"NoRowsKeepLabelsAndFormats",
         TableBytes::Compact().Column("T", 1).Column("N", 2).Column("M", 3).Column("R", 4).Column("S", 5)
             .Column("U", 6).Bytes(),
         {"_nRow", "T", "N", "M", "R", "S", "U"},
         {"number", "text", "number", "number", kFloat, kFloat, kFloat},
         {},
         "0 * 6"},
        {"NoColumnsShowRowIds",
         TableBytes::Compact().Row(3).Row(4294967295u).Row(0).Bytes(),
         {"_nRow"},
         {"number"},
         {{"3"}, {"4294967295"}, {"0"}},
         "3 * 0"},
        {"FullLengthNames",
         TableBytes::Fixed().Column(std::string(64, 'F'), 2).Row(1).U32(2).Bytes(),
         {"_nRow", std::string(64, 'F')},
         {"number", "number"},
         {{"1", "2"}},
         "1 * 1"},
    };
}

class LoadContents : public ViewerTest, public testing::WithParamInterface<Expected> {};

TEST_P(LoadContents, GridShowsTheTable)
{
    const Expected& expected = GetParam();
    Load(m_folder.Write("table.qrb", expected.bytes));

    EXPECT_EQ(ColumnLabels(), expected.columnLabels);
    EXPECT_EQ(ColumnFormats(), expected.formats);
    EXPECT_EQ(Cells(), expected.cells);
    Texts rowNumbers;
    for (size_t row = 1; row <= expected.cells.size(); ++row)
        rowNumbers.push_back(std::to_string(row));
    EXPECT_EQ(RowLabels(), rowNumbers);
    EXPECT_EQ(Utf8(m_status->Current(2)), expected.dimensions);
}

INSTANTIATE_TEST_SUITE_P(Tables, LoadContents, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Expected>& info) { return info.param.name; });

class Reload : public ViewerTest {};

TEST_F(Reload, SecondTableReplacesTheFirst)
{
    Load(Write("first.qrb", EveryCellKind()));
    Load(Write("second.ext", TableBytes::Compact().Column("Rate", 4).Column("Note", 1).Row(9).Real(2).Text("b")));

    EXPECT_EQ(ColumnLabels(), (Texts{"_nRow", "Rate", "Note"}));
    EXPECT_EQ(ColumnFormats(), (Texts{"number", kFloat, "text"}));
    EXPECT_EQ(Cells(), (Cells2D{{"9", "2.000000", "b"}}));
    EXPECT_EQ(RowLabels(), (Texts{"1"}));
    EXPECT_EQ(Utf8(m_status->Current(1)), "second.ext");
}

TEST_F(Reload, SameFileIsReadAgain)
{
    const std::string path = Write("same.qrb", TableBytes::Compact().Column("A", 2).Row(1).U32(10));
    Load(path);
    Write("same.qrb", TableBytes::Compact().Column("B", 1).Row(2).Text("new").Row(3).Text("rows"));
    Load(path);

    EXPECT_EQ(ColumnLabels(), (Texts{"_nRow", "B"}));
    EXPECT_EQ(Cells(), (Cells2D{{"2", "new"}, {"3", "rows"}}));
    EXPECT_EQ(Utf8(m_status->Current(2)), "2 * 1");
}

TEST_F(Reload, EditIsLostAtTheNextLoad)
{
    const std::string path = Write("edit.qrb", EveryCellKind());
    Load(path);
    Grid().SetCellValue(0, 1, "edited");
    Grid().SetCellValue(2, 3, "");
    ASSERT_EQ(Grid().GetCellValue(0, 1), "edited");
    ASSERT_EQ(Grid().GetCellValue(2, 3), "");

    Load(path);
    EXPECT_EQ(Grid().GetCellValue(0, 1), "hi");
    EXPECT_EQ(Grid().GetCellValue(2, 3), "2");
}

TEST_F(Reload, FileStaysOpenUntilTheNextLoad)
{
    const std::string first = Write("first.qrb", EveryCellKind());
    const std::string second = Write("second.qrb", EveryCellKind());
    Load(first);
    EXPECT_TRUE(Reader().IsFileOpen());
    EXPECT_EQ(OpenDescriptorsOn(first), 1);

    Load(second);
    EXPECT_TRUE(Reader().IsFileOpen());
    EXPECT_EQ(OpenDescriptorsOn(first), 0);
    EXPECT_EQ(OpenDescriptorsOn(second), 1);

    LoadExpectingError(Write("bad.qrb", TableBytes::Compact().Tag(5)), "非法文件!");
    EXPECT_FALSE(Reader().IsFileOpen());
    EXPECT_EQ(OpenDescriptorsOn(second), 0);
    EXPECT_EQ(OpenDescriptorsOn(m_folder.Path("bad.qrb")), 0);
}

}  // namespace
