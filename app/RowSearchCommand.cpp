// The search command: moves the grid's cursor to the row whose label is the typed text.
#include "../table/TableGridModel.h"
#include "MainFrame.h"
#include "RowSearch.h"

void MainFrame::OnSearch(wxCommandEvent&)
{
    const int rowCount = m_gridExt->GetNumberRows();
    if (rowCount == 0)
        return;
    const int cursorRow = std::max(m_gridExt->GetGridCursorRow(), 0);
    const wxString text = m_textCtrlSearch->GetLineText(0);

    std::optional<int> found;
    if (auto* model = dynamic_cast<TableGridModel*>(m_gridExt->GetTable())) {
        found = FindRowByLabel(cursorRow, rowCount, TableGridModel::LabelMatcher(*model, text));
    } else {
        found = FindRowByLabel(cursorRow, rowCount,
                               [this, &text](int row) { return m_gridExt->GetRowLabelValue(row) == text; });
    }
    if (!found)
        return;
    m_gridExt->SetFocus();
    m_gridExt->GoToCell(*found, 0);
}
