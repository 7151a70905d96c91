// Row names: each row's label becomes the catalogue text whose mid equals the row's
// _NameID cell. Rows whose identifier the catalogue lacks keep their number.
#include <limits>
#include <unordered_map>

#include "../app/MainFrame.h"
#include "Catalogue.h"
#include "CellText.h"
#include "FileReader.h"
#include "TableGridModel.h"

namespace {

const char* const kCatalogueFile = "uistring.xml";

// The first column labelled exactly _NameID, or -1.
int FindNameColumn(wxGrid& grid)
{
    for (int col = 0; col < grid.GetNumberCols(); ++col) {
        if (grid.GetColLabelValue(col) == wxS("_NameID"))
            return col;
    }
    return -1;
}

// The identifier text of a row as the grid shows it, in UTF-8.
std::string IdentifierText(const TableView& table, std::size_t row, int col)
{
    return col == 0 ? UnsignedText(table.RowId(row)) : table.CellText(row, static_cast<std::size_t>(col) - 1);
}

}  // namespace

void FileReader::MatchLabels()
{
    const Catalogue catalogue = Catalogue::Load(kCatalogueFile);
    const int nameColumn = FindNameColumn(*m_grid);
    if (nameColumn < 0)
        return;
    auto* model = dynamic_cast<TableGridModel*>(m_grid->GetTable());
    if (!model)
        return;
    m_grid->SetRowLabelSize(100);

    const TableView& table = model->Table();
    const std::size_t rowCount = table.RowCount();
    std::vector<std::int32_t> nameOfRow(rowCount, -1);
    std::vector<wxString> names;
    std::unordered_map<const char*, std::int32_t> nameIndex;  // by where the text lies in the catalogue
    const std::uint64_t total = m_header->rowCount;
    unsigned lastPercent = std::numeric_limits<unsigned>::max();
    for (std::size_t row = 0; row < rowCount; ++row) {
        if (const auto name = catalogue.Find(IdentifierText(table, row, nameColumn))) {
            const auto known = nameIndex.emplace(name->data(), static_cast<std::int32_t>(names.size()));
            if (known.second)
                names.push_back(TextFromUtf8(name->data(), name->size()));
            nameOfRow[row] = known.first->second;
        }
        const auto percent = static_cast<unsigned>(row * std::uint64_t{100} / total);
        if (percent != lastPercent) {
            lastPercent = percent;
            SetStatus(wxString::Format("%u%%", percent), 2);
        }
    }
    model->SetRowNames(std::move(nameOfRow), std::move(names));
}
