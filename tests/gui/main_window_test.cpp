// The main window as it is built: its size, the empty grid, title, menus, tools, file
// dialogs and the about box.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <wx/accel.h>
#include <wx/menu.h>
#include <wx/stopwatch.h>
#include <wx/toolbar.h>
#include <wx/tokenzr.h>

#include "ViewerHarness.h"

namespace {

// Whether the keyboard focus is on the grid or on one of its parts.
bool GridHasFocus()
{
    for (wxWindow* window = wxWindow::FindFocus(); window; window = window->GetParent()) {
        if (window == &Grid())
            return true;
    }
    return false;
}

// Gives a window manager the time to make the main window active.
bool WaitUntilActive()
{
    wxStopWatch waited;
    while (!Frame().IsActive() && waited.Time() < 5000) {
        wxTheApp->Yield(true);
        wxMilliSleep(10);
    }
    return Frame().IsActive();
}

// These tests see the window as it starts, so they run before anything else uses it
// (ctest runs them in a process of their own).
class StartState : public testing::Test {
protected:
    void SetUp() override
    {
        if (ViewerWasUsed())
            GTEST_SKIP() << "other tests have used the window in this process; run StartState.* on its own";
    }
};

TEST_F(StartState, ClientAreaIs800By480)
{
    EXPECT_EQ(Frame().GetClientSize(), wxSize(800, 480));
}

TEST_F(StartState, GridShowsOneEmptyCellWithDefaultLabels)
{
    ASSERT_EQ(Grid().GetNumberRows(), 1);
    ASSERT_EQ(Grid().GetNumberCols(), 1);
    EXPECT_EQ(Grid().GetCellValue(0, 0), "");
    EXPECT_EQ(Grid().GetColLabelValue(0), "A");
    EXPECT_EQ(Grid().GetRowLabelValue(0), "1");
    EXPECT_EQ(Frame().GetStatusBar()->GetStatusText(0), "");
    EXPECT_EQ(Frame().GetStatusBar()->GetStatusText(1), "");
    EXPECT_EQ(Frame().GetStatusBar()->GetStatusText(2), "");
}

TEST_F(StartState, GridHasTheKeyboardFocus)
{
    if (!WaitUntilActive())
        GTEST_SKIP() << "no window manager made the main window active, so no window has the focus";
    EXPECT_TRUE(GridHasFocus());
}

TEST(MainWindow, Title)
{
    EXPECT_EQ(Utf8(Frame().GetTitle()), "Quarrytide二维表查看器器V2.0");
}

TEST(MainWindow, MenuTitles)
{
    wxMenuBar* bar = Frame().GetMenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetMenuCount(), 2u);
    EXPECT_EQ(Utf8(bar->GetMenuLabel(0)), "文件");
    EXPECT_EQ(Utf8(bar->GetMenuLabel(1)), "帮助");
}

struct MenuEntry {
    int menu;
    int id;  // wxID_SEPARATOR for the separator
    const char* label;
    const char* help;
    bool enabled;
    int accelFlags;
    int accelKey;  // 0: no accelerator
};

const MenuEntry kMenuEntries[] = {
    {0, ID_MENUITEMOPEN, "打开\tCtrl+O", "打开文件", true, wxACCEL_CTRL, 'O'},
    {0, ID_MENUITEMSAVE, "保存\tCtrl+S", "保存文件", false, wxACCEL_CTRL, 'S'},
    {0, ID_MENUITEMSAVEAS, "另存为", "另存为文件", false, 0, 0},
    {0, wxID_SEPARATOR, "", "", true, 0, 0},
    {0, ID_MENUITEMEXIT, "退出\tAlt-F4", "退出程序", true, wxACCEL_ALT, WXK_F4},
    {1, ID_MENUITEMABOUT, "关于\tF1", "关于本程序", true, wxACCEL_NORMAL, WXK_F1},
};

TEST(MainWindow, MenuEntriesInOrder)
{
    wxMenuBar* bar = Frame().GetMenuBar();
    std::vector<size_t> position(bar->GetMenuCount(), 0);
    for (const MenuEntry& expected : kMenuEntries) {
        SCOPED_TRACE(expected.id == wxID_SEPARATOR ? std::string("separator") : std::string(expected.label));
        wxMenu* menu = bar->GetMenu(expected.menu);
        ASSERT_LT(position[expected.menu], menu->GetMenuItemCount());
        const wxMenuItem* item = menu->FindItemByPosition(position[expected.menu]++);
        if (expected.id == wxID_SEPARATOR) {
            EXPECT_TRUE(item->IsSeparator());
            continue;
        }
        EXPECT_EQ(item->GetId(), expected.id);
        EXPECT_EQ(item->GetKind(), wxITEM_NORMAL);
        EXPECT_EQ(Utf8(item->GetItemLabel()), expected.label);
        EXPECT_EQ(Utf8(item->GetHelp()), expected.help);
        EXPECT_EQ(item->IsEnabled(), expected.enabled);
        EXPECT_EQ(bar->IsEnabled(expected.id), expected.enabled);
        const std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
        if (expected.accelKey == 0) {
            EXPECT_EQ(accel.get(), nullptr);
            continue;
        }
        ASSERT_NE(accel.get(), nullptr);
        EXPECT_EQ(accel->GetFlags(), expected.accelFlags);
        EXPECT_EQ(accel->GetKeyCode(), expected.accelKey);
    }
    for (size_t menu = 0; menu < position.size(); ++menu)
        EXPECT_EQ(position[menu], bar->GetMenu(menu)->GetMenuItemCount()) << "menu " << menu << " has more entries";
}

struct ToolEntry {
    enum Kind { Separator, Tool, Control } kind;
    int id;
    const char* label;
    const char* shortHelp;
    const char* longHelp;
    bool enabled;
};

const ToolEntry kToolEntries[] = {
    {ToolEntry::Separator, 0, "", "", "", true},
    {ToolEntry::Tool, ID_TOOLOPEN, "打开", "打开文件", "打开EXT文件", true},
    {ToolEntry::Tool, ID_TOOLSAVE, "保存", "保存文件", "保存文件到硬盘", false},
    {ToolEntry::Tool, ID_TOOLSAVEAS, "另存为", "另存文件", "另存为新文件到硬盘", false},
    {ToolEntry::Separator, 0, "", "", "", true},
    {ToolEntry::Control, ID_TEXTCTRLSEARCH, "", "", "", true},
    {ToolEntry::Tool, ID_TOOLSEARCH, "搜索", "搜索标签", "在标签中搜索内容(必须全字匹配)", true},
    {ToolEntry::Separator, 0, "", "", "", true},
};

TEST(MainWindow, ToolsInOrder)
{
    wxToolBar* bar = Frame().GetToolBar();
    ASSERT_EQ(bar, Frame().m_toolBar);
    ASSERT_EQ(bar->GetToolsCount(), std::size(kToolEntries));
    for (size_t pos = 0; pos < std::size(kToolEntries); ++pos) {
        const ToolEntry& expected = kToolEntries[pos];
        SCOPED_TRACE("tool at position " + std::to_string(pos));
        const wxToolBarToolBase* tool = bar->GetToolByPos(static_cast<int>(pos));
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(tool->IsSeparator(), expected.kind == ToolEntry::Separator);
        EXPECT_EQ(tool->IsControl(), expected.kind == ToolEntry::Control);
        if (expected.kind == ToolEntry::Separator)
            continue;
        EXPECT_EQ(tool->GetId(), expected.id);
        EXPECT_EQ(Utf8(tool->GetLabel()), expected.label);
        EXPECT_EQ(tool->IsEnabled(), expected.enabled);
        EXPECT_EQ(bar->GetToolEnabled(expected.id), expected.enabled);
        if (expected.kind == ToolEntry::Control) {
            EXPECT_EQ(tool->GetControl(), Frame().m_textCtrlSearch);
            continue;
        }
        EXPECT_EQ(tool->GetKind(), wxITEM_NORMAL);
        EXPECT_EQ(Utf8(tool->GetShortHelp()), expected.shortHelp);
        EXPECT_EQ(Utf8(tool->GetLongHelp()), expected.longHelp);
    }
    EXPECT_EQ(Frame().m_toolOpen, bar->FindById(ID_TOOLOPEN));
    EXPECT_EQ(Frame().m_toolSave, bar->FindById(ID_TOOLSAVE));
    EXPECT_EQ(Frame().m_toolSaveAs, bar->FindById(ID_TOOLSAVEAS));
    EXPECT_EQ(Frame().m_toolSearch, bar->FindById(ID_TOOLSEARCH));
}

TEST(MainWindow, OpenDialogTakesOneExistingTableFile)
{
    const wxFileDialog* dialog = Frame().m_openDialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Utf8(dialog->GetMessage()), "打开");
    EXPECT_EQ(dialog->GetWildcard(), "Quarrytide QRB Files (*.ext;*.qrb)|*.ext;*.qrb");
    EXPECT_TRUE(dialog->HasFdFlag(wxFD_OPEN));
    EXPECT_TRUE(dialog->HasFdFlag(wxFD_FILE_MUST_EXIST));
    EXPECT_FALSE(dialog->HasFdFlag(wxFD_MULTIPLE));
    EXPECT_FALSE(dialog->HasFdFlag(wxFD_SAVE));
}

TEST(MainWindow, SaveAsDialogIsAPlainSaveDialog)
{
    const wxFileDialog* dialog = Frame().m_saveAsDialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Utf8(dialog->GetMessage()), "另存为");
    EXPECT_EQ(dialog->GetWildcard(), wxFileSelectorDefaultWildcardStr);
    EXPECT_TRUE(dialog->HasFdFlag(wxFD_SAVE));
    EXPECT_FALSE(dialog->HasFdFlag(wxFD_OPEN));
    EXPECT_FALSE(dialog->HasFdFlag(wxFD_OVERWRITE_PROMPT));
}

TEST(MainWindow, AboutBoxHasSixLinesEndingWithTheBuildPlatform)
{
    // wxMessageBox adds the information icon to a style that names none.
    const ExpectMessageBox about("关于", wxOK | wxCENTRE | wxICON_INFORMATION);
    wxTEST_DIALOG(SendCommand(ID_MENUITEMABOUT), about);

    const std::string& text = about.ShownMessage();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos) << "a line without its line feed";
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 6u) << text;
    EXPECT_FALSE(lines[0].empty());
    EXPECT_FALSE(lines[1].empty());
    EXPECT_EQ(lines[2], std::string(40, '-'));
    EXPECT_FALSE(lines[3].empty());
    const size_t tab = lines[4].find('\t');
    ASSERT_NE(tab, std::string::npos) << "line 5 separates tool chain and toolkit with a tab: " << lines[4];
    EXPECT_GT(tab, 0u) << "line 5 names the compiler first";
    EXPECT_EQ(lines[4].substr(tab + 1), Utf8(wxVERSION_STRING));
    EXPECT_EQ(lines[5].rfind("on Linux", 0), 0u) << lines[5];
}

// Save and Save As are disabled, and their commands do nothing even when delivered.
class DisabledCommand : public ViewerTest, public testing::WithParamInterface<int> {};

TEST_P(DisabledCommand, ChangesNothing)
{
    Load(Write("t.qrb", TableBytes::Compact().Column("ID", 2).Row(1).U32(7)));
    m_status->ClearWrites();
    SendCommand(GetParam());
    EXPECT_TRUE(m_status->Writes().empty());
    EXPECT_EQ(Cells(), (std::vector<std::vector<std::string>>{{"1", "7"}}));
    EXPECT_TRUE(Reader().IsFileOpen());
}

INSTANTIATE_TEST_SUITE_P(SaveCommands, DisabledCommand,
                         testing::Values(ID_MENUITEMSAVE, ID_MENUITEMSAVEAS, ID_TOOLSAVE, ID_TOOLSAVEAS));

}  // namespace
