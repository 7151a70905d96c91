// The Open command from the File menu and from the tool bar: the open dialog, a table
// chosen in it, a cancelled dialog, and a file that is gone when the load starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ViewerHarness.h"

namespace {

using Cells2D = std::vector<std::vector<std::string>>;

const TableBytes kSmallTable = TableBytes::Compact().Column("ID", 2).Row(1).U32(7).Row(2).U32(8);

class OpenCommand : public ViewerTest, public testing::WithParamInterface<int> {};

TEST_P(OpenCommand, LoadsTheFileChosenInTheOpenDialog)
{
    const std::string path = Write("chosen.qrb", kSmallTable);
    const ExpectFileChoice choice(path);
    wxTEST_DIALOG(SendCommand(GetParam()), choice);

    EXPECT_EQ(choice.ShownDialog(), Frame().m_openDialog);
    EXPECT_EQ(Cells(), (Cells2D{{"1", "7"}, {"2", "8"}}));
    EXPECT_EQ(Utf8(m_status->Current(1)), "chosen.qrb");
    EXPECT_EQ(Utf8(m_status->Current(2)), "2 * 1");
}

TEST_P(OpenCommand, CancellingTheDialogChangesNothing)
{
    const std::string path = Write("kept.qrb", kSmallTable);
    Load(path);
    m_status->ClearWrites();
    const std::string other = Write("other.qrb", TableBytes::Compact().Column("X", 1).Row(9).Text("no"));

    wxTEST_DIALOG(SendCommand(GetParam()), ExpectFileChoice(other, wxID_CANCEL));

    EXPECT_TRUE(m_status->Writes().empty());
    EXPECT_EQ(Cells(), (Cells2D{{"1", "7"}, {"2", "8"}}));
    EXPECT_EQ(Utf8(m_status->Current(1)), "kept.qrb");
    EXPECT_EQ(OpenDescriptorsOn(path), 1);
}

INSTANTIATE_TEST_SUITE_P(MenuAndTool, OpenCommand, testing::Values(ID_MENUITEMOPEN, ID_TOOLOPEN));

class OpenCommandFailure : public ViewerTest {};

TEST_F(OpenCommandFailure, FileRemovedAfterTheDialogIsReportedMissing)
{
    Load(Write("first.qrb", kSmallTable));
    m_status->ClearWrites();
    const std::string path = Write("vanishing.qrb", kSmallTable);

    wxTEST_DIALOG(SendCommand(ID_MENUITEMOPEN),
                  ExpectFileChoice(path, wxID_OK, [&path] { std::filesystem::remove(path); }),
                  ExpectErrorBox("文件不存在!"));

    EXPECT_EQ(Grid().GetNumberRows(), 0);
    EXPECT_EQ(Grid().GetNumberCols(), 0);
    EXPECT_TRUE(m_status->Writes().empty());
    EXPECT_EQ(Utf8(m_status->Current(1)), "first.qrb");
}

}  // namespace
