// The row search: the order it visits rows in, what counts as an equal label, and the
// command itself (Enter in the search box, the search tool) on a loaded table.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>

#include "FileReader.h"
#include "Identifiers.h"
#include "MainFrame.h"
#include "QRBEditor.h"
#include "RowSearch.h"
#include "TableBytes.h"
#include "TableDecoder.h"
#include "TableGridModel.h"

namespace {

struct OrderCase {
    const char* what;
    std::vector<std::wstring> labels;
    int cursor;
    std::wstring text;
    std::optional<int> found;
};

TEST(RowSearchOrder, VisitsFromTheCursorThenWrapsOnce)
{
    const std::vector<std::wstring> abcab = {L"a", L"b", L"c", L"a", L"b"};
    const OrderCase cases[] = {
        {"cursor row itself", abcab, 3, L"a", 3},
        {"first at or below the cursor", abcab, 1, L"a", 3},
        {"after moving below it, the next one", abcab, 4, L"b", 4},
        {"from below the last, wraps to the top", abcab, 4, L"a", 0},
        {"only above the cursor, row 0 included", {L"x", L"y", L"z"}, 2, L"x", 0},
        {"only above the cursor", {L"x", L"y", L"z"}, 2, L"y", 1},
        {"case differs", {L"Iron", L"iron ore"}, 0, L"iron", std::nullopt},
        {"surrounding spaces", {L"iron"}, 0, L" iron", std::nullopt},
        {"part of a label", {L"iron ore"}, 0, L"iron", std::nullopt},
        {"empty text finds only an empty label", {L"a", L"", L"b"}, 2, L"", 1},
        {"empty text without empty labels", {L"a", L"b"}, 0, L"", std::nullopt},
        {"no cursor starts at the top", {L"a", L"b", L"a"}, -1, L"a", 0},
        {"empty grid", {}, 0, L"a", std::nullopt},
    };
    for (const OrderCase& c : cases) {
        std::vector<int> visited;
        const auto found = FindRowByLabel(c.cursor, static_cast<int>(c.labels.size()), [&](int row) {
            visited.push_back(row);
            return c.labels[row] == c.text;
        });
        EXPECT_EQ(found, c.found) << c.what;
        // Each row is examined at most once.
        std::sort(visited.begin(), visited.end());
        EXPECT_EQ(std::adjacent_find(visited.begin(), visited.end()), visited.end()) << c.what;
    }
}

// A table of `rows` rows whose _NameID is 1000 + row number.
std::vector<unsigned char> NamedTable(int rows)
{
    TableBytes table = TableBytes::Compact();
    table.Column("_NameID", ColumnTypeNumber).Column("Note", ColumnTypeText);
    for (int i = 1; i <= rows; ++i)
        table.Row(static_cast<std::uint32_t>(i)).U32(static_cast<std::uint32_t>(1000 + i)).Text("n");
    return table.Bytes();
}

TEST(RowSearchLabels, NumbersMatchOnlyTheirCanonicalText)
{
    const auto bytes = NamedTable(20);
    TableGridModel model(DecodeTable(bytes.data(), bytes.size()));
    std::vector<std::int32_t> nameOfRow(20, -1);
    nameOfRow[3] = 0;
    nameOfRow[7] = 1;
    RowNames names;
    names.Add("铁矿石");
    names.Add("");
    model.SetRowNames(nameOfRow, names);

    struct {
        const wchar_t* text;
        std::optional<int> found;
    } const cases[] = {
        {L"15", 14},          {L"1", 0},        {L"20", 19},      {L"21", std::nullopt},
        {L"015", std::nullopt}, {L"+15", std::nullopt}, {L"15 ", std::nullopt}, {L"1.5", std::nullopt},
        {L"0", std::nullopt}, {L"4", std::nullopt},  // row 4 is named: its number is no longer its label
        {L"铁矿石", 3},        {L"", 7},         {L"99999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        const wxString text(c.text);
        EXPECT_EQ(FindRowByLabel(0, 20, TableGridModel::LabelMatcher(model, text)), c.found) << text;
        // The matcher agrees with comparing the label the grid shows.
        for (int row = 0; row < 20; ++row)
            EXPECT_EQ(TableGridModel::LabelMatcher(model, text)(row), model.GetRowLabelValue(row) == text);
    }
}

// The search command on the main window, with a table named from a catalogue.
class RowSearchCommand : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() / ("row-search-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_folder);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder);
        std::ofstream("uistring.xml") << "<messages><message mid=\"1005\">铁矿石</message>"
                                         "<message mid=\"1030\">Copper</message></messages>";
        const auto bytes = NamedTable(40);
        std::ofstream("named.ext", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        m_frame = static_cast<QRBEditor*>(wxTheApp)->m_mainFrame;
        static_cast<QRBEditor*>(wxTheApp)->m_fileReader->Open((m_folder / "named.ext").string(), "named.ext");
        ASSERT_EQ(m_frame->m_gridExt->GetNumberRows(), 40);
    }

    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_folder);
    }

    void Search(const wxString& text, int eventType, int id)
    {
        m_frame->m_textCtrlSearch->ChangeValue(text);
        wxCommandEvent event(eventType, id);
        event.SetEventObject(m_frame->m_textCtrlSearch);
        m_frame->GetEventHandler()->ProcessEvent(event);
    }

    std::filesystem::path m_folder, m_previous;
    MainFrame* m_frame = nullptr;
};

TEST_F(RowSearchCommand, EnterAndTheToolMoveTheCursor)
{
    wxGrid* grid = m_frame->m_gridExt;
    grid->SetGridCursor(0, 2);
    Search(L"铁矿石", wxEVT_TEXT_ENTER, ID_TEXTCTRLSEARCH);
    EXPECT_EQ(grid->GetGridCursorRow(), 4);
    EXPECT_EQ(grid->GetGridCursorCol(), 0);

    Search(L"Copper", wxEVT_MENU, ID_TOOLSEARCH);
    EXPECT_EQ(grid->GetGridCursorRow(), 29);
    EXPECT_TRUE(grid->IsVisible(29, 0, false));

    // Unnamed rows are still found by number; named ones no longer are.
    Search(L"12", wxEVT_TEXT_ENTER, ID_TEXTCTRLSEARCH);
    EXPECT_EQ(grid->GetGridCursorRow(), 11);
    Search(L"5", wxEVT_TEXT_ENTER, ID_TEXTCTRLSEARCH);
    EXPECT_EQ(grid->GetGridCursorRow(), 11);
}

TEST_F(RowSearchCommand, NoMatchChangesNothing)
{
    wxGrid* grid = m_frame->m_gridExt;
    grid->SetGridCursor(17, 1);
    int scrollX = 0, scrollY = 0;
    grid->GetViewStart(&scrollX, &scrollY);
    for (const wxString text : {L"铁矿", L"copper", L" 12", L"", L"41"}) {
        Search(text, wxEVT_TEXT_ENTER, ID_TEXTCTRLSEARCH);
        EXPECT_EQ(grid->GetGridCursorRow(), 17) << text;
        EXPECT_EQ(grid->GetGridCursorCol(), 1) << text;
        int x = 0, y = 0;
        grid->GetViewStart(&x, &y);
        EXPECT_EQ(x, scrollX);
        EXPECT_EQ(y, scrollY);
    }
}

TEST_F(RowSearchCommand, EmptyGridIsLeftAlone)
{
    static_cast<QRBEditor*>(wxTheApp)->m_fileReader->Reset();
    Search(L"1", wxEVT_TEXT_ENTER, ID_TEXTCTRLSEARCH);
    EXPECT_EQ(m_frame->m_gridExt->GetNumberRows(), 0);
}

}  // namespace
