// The table loader: reads a file whole, decodes it and shows it in the grid.
#include "FileReader.h"

#include <limits>
#include <new>

#include <sys/stat.h>

#include <wx/log.h>
#include <wx/msgdlg.h>

#include "../app/MainFrame.h"
#include "ByteReader.h"
#include "GridSizing.h"
#include "TableGrid.h"
#include "TableDecoder.h"
#include "TableError.h"
#include "TableGridModel.h"

namespace {

constexpr wxFileOffset kLargestFile = (wxFileOffset{1} << 32) - 1;

wxString PercentText(unsigned percent)
{
    return wxString::Format("%u%%", percent);
}

}  // namespace

FileReader::FileReader(MainFrame* frame, wxGrid* grid) : m_frame(frame), m_grid(grid) {}

FileReader::~FileReader()
{
    Reset();
}

void FileReader::SetStatus(const wxString& text, int field)
{
    m_frame->SetStatusText(text, field);
}

void FileReader::Open(const wxString& path, const wxString& fileName)
{
    const wchar_t* failure = nullptr;
    try {
        Reset();
        m_fileName = fileName;
        ReadFile(path);
        FillGrid();
    } catch (const TableError& error) {
        failure = error.Message();
    } catch (const std::bad_alloc&) {
        // A table too large for this machine's memory.
        failure = messages::kCannotReadFile;
    }
    if (!failure)
        return;
    wxMessageBox(failure, L"错误", wxOK | wxICON_ERROR, nullptr);
    Reset();
}

void FileReader::Reset()
{
    // The grid reads the bytes through its table, so it lets go of them first.
    m_grid->ClearGrid();
    if (m_grid->GetNumberCols() > 0)
        m_grid->DeleteCols(0, m_grid->GetNumberCols());
    if (m_grid->GetNumberRows() > 0)
        m_grid->DeleteRows(0, m_grid->GetNumberRows());
    if (auto* tableGrid = dynamic_cast<TableGrid*>(m_grid))
        tableGrid->ForgetMinimalSizes();
    if (m_file) {
        m_file->Close();
        m_file.reset();
        m_fileSize = 0;
    }
    m_buffer = FileBuffer();
    m_cursor = 0;
    m_header.reset();
    m_columns.reset();
    m_catalogue = std::future<Catalogue>();  // waits for a reading still under way
}

void FileReader::ReadFile(const wxString& path)
{
    // Only regular files are read: a FIFO or a device could block the window forever.
    struct stat status;
    if (path.empty() || stat(path.fn_str(), &status) != 0)
        throw TableError(messages::kFileMissing);
    if (!S_ISREG(status.st_mode))
        throw TableError(messages::kIllegalFile);

    wxLogNull noLogWindow;  // failures are reported in our own message box
    m_file = std::make_unique<wxFile>();
    if (!m_file->Open(path, wxFile::read))
        throw TableError(messages::kCannotReadFile);
    m_fileSize = m_file->Length();
    if (m_fileSize == wxInvalidOffset)
        throw TableError(messages::kIllegalFile);
    if (m_fileSize > kLargestFile)
        throw TableError(messages::kCannotReadFile);

    const auto size = static_cast<std::size_t>(m_fileSize);
    m_buffer = FileBuffer(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = m_file->Read(m_buffer.Data() + done, size - done);
        if (count <= 0)
            throw TableError(messages::kCannotReadFile);
        done += static_cast<std::size_t>(count);
    }
}

std::unique_ptr<TableHeader> FileReader::ReadHeader()
{
    ByteReader reader(m_buffer.Data(), static_cast<std::size_t>(m_fileSize));
    reader.Skip(m_cursor);
    auto header = std::make_unique<TableHeader>(DecodeHeader(reader));
    m_cursor = reader.Offset();
    return header;
}

std::unique_ptr<std::vector<ColumnDescriptor>> FileReader::ReadColumnDescriptors(const TableHeader& header)
{
    ByteReader reader(m_buffer.Data(), static_cast<std::size_t>(m_fileSize));
    reader.Skip(m_cursor);
    auto columns = std::make_unique<std::vector<ColumnDescriptor>>(DecodeColumnDescriptors(reader, header));
    m_cursor = reader.Offset();
    return columns;
}

void FileReader::FillGrid()
{
    SetStatus(L"工作中...", 0);
    SetStatus(L"正在读取文件...", 1);
    m_cursor = 0;
    m_header = ReadHeader();
    m_columns = ReadColumnDescriptors(*m_header);

    SetStatus(L"正在创建列表...", 1);
    wxGridUpdateLocker batch(m_grid);

    SetStatus(L"正在读取数据...", 1);
    for (const ColumnDescriptor& column : *m_columns)
        CheckColumnFormat(column);
    auto* model = BuildModel();
    ShowColumnFormats(*model);
    // Neither needs the other: the catalogue is read while the cells are measured.
    StartReadingCatalogue();
    TableSizer sizer(*m_grid, *model);
    sizer.MeasureCells();

    SetStatus(L"正在匹配标签...", 1);
    try {
        MatchLabels();
    } catch (const TableError& error) {
        wxMessageBox(error.Message(), L"警告", wxOK | wxICON_EXCLAMATION, nullptr);
    }

    SetStatus(L"正在调整表格...", 1);
    SetStatus(L"0%", 2);
    sizer.SizeColumns();
    SetStatus(L"50%", 2);
    sizer.SizeRows();
    m_grid->SetRowLabelSize(150);

    SetStatus(L"读取文件完成!", 0);
    SetStatus(m_fileName, 1);
    SetStatus(wxString::Format("%u * %u", m_header->rowCount, m_header->columnCount), 2);
    m_header.reset();
    m_columns.reset();
}

// Index every row (reporting progress) and hand the grid a table over the bytes.
TableGridModel* FileReader::BuildModel()
{
    const RowProgress progress = [this](unsigned percent) { SetStatus(PercentText(percent), 2); };
    TableView table(m_buffer.Data(), static_cast<std::size_t>(m_fileSize), m_cursor, *m_header, *m_columns, progress);
    auto* model = new TableGridModel(std::move(table));
    m_grid->SetTable(model, true, wxGrid::wxGridSelectCells);
    return model;
}

void FileReader::ShowColumnFormats(TableGridModel& model)
{
    model.SetColumnFormats(*m_grid);
}
