// What a load writes to the status bar: each step's text in its field, the percentage while
// rows are read and while the grid is sized, and the final texts with the dimensions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewerHarness.h"

namespace {

using StatusWrite = RecordingStatusBar::Write;
using Texts = std::vector<std::string>;

// A table of the given shape whose columns cycle through the type codes 1 to 5.
TableBytes TableOfShape(std::uint32_t rows, std::uint32_t columns)
{
    TableBytes table = TableBytes::Fixed();
    for (std::uint32_t k = 0; k < columns; ++k)
        table.Column("C" + std::to_string(k), static_cast<std::int32_t>(k % 5 + 1));
    for (std::uint32_t r = 0; r < rows; ++r) {
        table.Row(1000 + r);
        for (std::uint32_t k = 0; k < columns; ++k) {
            if (k % 5 == 0)
                table.Text("t" + std::to_string(r));
            else if (k % 5 < 3)
                table.U32(r * k);
            else
                table.Real(static_cast<float>(r) / 4);
        }
    }
    return table;
}

class LoadStatus : public ViewerTest {};

TEST_F(LoadStatus, FourRowLoadWritesEveryStepInOrder)
{
    const std::string path = Write("four.qrb", TableOfShape(4, 3));
    m_status->ClearWrites();
    Load(path);

    const std::vector<StatusWrite> expected = {
        {0, "工作中..."},       {1, "正在读取文件..."}, {1, "正在创建列表..."}, {1, "正在读取数据..."},
        {2, "0%"},              {2, "25%"},             {2, "50%"},             {2, "75%"},
        {1, "正在匹配标签..."}, {1, "正在调整表格..."}, {2, "0%"},              {2, "50%"},
        {0, "读取文件完成!"},   {1, "four.qrb"},        {2, "4 * 3"},
    };
    EXPECT_EQ(m_status->Writes(), expected);
}

struct Shape {
    std::uint32_t rows;
    std::uint32_t columns;
};

void PrintTo(const Shape& shape, std::ostream* out)
{
    *out << shape.rows << " rows x " << shape.columns << " columns";
}

class LoadShape : public ViewerTest, public testing::WithParamInterface<Shape> {};

// Field 2 while rows are read: the whole per cent of rows done after each row, written
// when it changes (200 rows: each of 0% to 99% once); then the sizing steps and the dimensions, which count the table's
// columns, not the grid's _nRow.
TEST_P(LoadShape, PercentagesAndDimensions)
{
    const auto [rows, columns] = GetParam();
    const std::string path = Write("shape.qrb", TableOfShape(rows, columns));
    m_status->ClearWrites();
    Load(path);

    Texts expected;
    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::string percent = std::to_string(r * 100 / rows) + "%";
        if (expected.empty() || expected.back() != percent)
            expected.push_back(percent);
    }
    expected.insert(expected.end(), {"0%", "50%", std::to_string(rows) + " * " + std::to_string(columns)});
    EXPECT_EQ(m_status->WritesTo(2), expected);
    EXPECT_EQ(m_status->WritesTo(0), (Texts{"工作中...", "读取文件完成!"}));
    EXPECT_EQ(Utf8(m_status->Current(1)), "shape.qrb");
    EXPECT_EQ(Grid().GetNumberRows(), static_cast<int>(rows));
    EXPECT_EQ(Grid().GetNumberCols(), static_cast<int>(columns) + 1);
}

INSTANTIATE_TEST_SUITE_P(Shapes, LoadShape,
                         testing::Values(Shape{1, 1}, Shape{3, 2}, Shape{200, 1}, Shape{120, 8}, Shape{0, 3},
                                         Shape{5, 0}, Shape{0, 0}),
                         [](const testing::TestParamInfo<Shape>& info) {
                             return std::to_string(info.param.rows) + "x" + std::to_string(info.param.columns);
                         });

TEST_F(LoadStatus, MissingCatalogueIsAWarningAndTheLoadCompletes)
{
    m_folder.RemoveCatalogue();
    const std::string path = Write("plain.qrb", TableOfShape(2, 2));
    wxTEST_DIALOG(Load(path), ExpectMessageBox("警告", wxOK | wxICON_EXCLAMATION, "无法读取uistring.xml!"));

    EXPECT_EQ(Utf8(m_status->Current(0)), "读取文件完成!");
    EXPECT_EQ(Utf8(m_status->Current(1)), "plain.qrb");
    EXPECT_EQ(Utf8(m_status->Current(2)), "2 * 2");
    EXPECT_EQ(Grid().GetNumberRows(), 2);
    EXPECT_EQ(Grid().GetNumberCols(), 3);
}

}  // namespace
