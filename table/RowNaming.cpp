// Row names: each row's label becomes the catalogue text whose mid equals the row's
// _NameID cell. Rows whose identifier the catalogue lacks keep their number.
#include <algorithm>
#include <limits>
#include <system_error>
#include <string_view>
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

// The identifier text of a row as the grid shows it, in UTF-8; `buffer` holds number texts.
std::string_view IdentifierText(const TableView& table, std::size_t row, int col, char* buffer)
{
    if (col == 0)
        return std::string_view(buffer, FormatUnsigned(table.RowId(row), buffer));
    const CellBytes cell = table.Cell(row, static_cast<std::size_t>(col) - 1);
    if (cell.type == ColumnTypeText)
        return std::string_view(reinterpret_cast<const char*>(cell.data), cell.size);
    if (IsNumberType(cell.type))
        return std::string_view(buffer, FormatUnsigned(ByteReader::LoadU32(cell.data), buffer));
    return std::string_view(buffer, FormatReal(LoadReal(cell.data), buffer));
}

}  // namespace

void FileReader::StartReadingCatalogue()
{
    const auto read = [] { return Catalogue::Load(kCatalogueFile); };
    try {
        m_catalogue = std::async(std::launch::async, read);
    } catch (const std::system_error&) {
        m_catalogue = std::async(std::launch::deferred, read);  // no thread to be had: read it when needed
    }
}

// The catalogue read for this load (its failures are raised here), or read now.
Catalogue FileReader::TakeCatalogue()
{
    if (!m_catalogue.valid())
        return Catalogue::Load(kCatalogueFile);
    std::future<Catalogue> pending = std::move(m_catalogue);
    return pending.get();
}

void FileReader::MatchLabels()
{
    const Catalogue catalogue = TakeCatalogue();
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
    RowNames names;
    std::unordered_map<const char*, std::int32_t> nameIndex;  // by where the text lies in the catalogue
    nameIndex.reserve(std::min(rowCount, catalogue.EntryCount()));
    char buffer[kMaxRealTextSize];
    const std::uint64_t total = m_header->rowCount;
    unsigned lastPercent = std::numeric_limits<unsigned>::max();
    for (std::size_t row = 0; row < rowCount; ++row) {
        if (const auto name = catalogue.Find(IdentifierText(table, row, nameColumn, buffer))) {
            auto known = nameIndex.find(name->data());
            if (known == nameIndex.end())
                known = nameIndex.emplace(name->data(), names.Add(*name)).first;
            nameOfRow[row] = known->second;
        }
        const auto percent = static_cast<unsigned>(row * std::uint64_t{100} / total);
        if (percent != lastPercent) {
            lastPercent = percent;
            SetStatus(wxString::Format("%u%%", percent), 2);
        }
    }
    model->SetRowNames(std::move(nameOfRow), std::move(names));
}
