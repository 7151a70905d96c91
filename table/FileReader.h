// Loads one table file into the main window's grid and reports each step on its status bar.
#pragma once

#include <future>
#include <memory>
#include <vector>

#include <wx/file.h>
#include <wx/grid.h>
#include <wx/string.h>

#include "Catalogue.h"
#include "FileBuffer.h"
#include "TableFormat.h"

class MainFrame;
class TableGridModel;

class FileReader {
public:
    // Keeps both without owning them; the grid must outlive the reader.
    FileReader(MainFrame* frame, wxGrid* grid);
    virtual ~FileReader();

    // Load the file at `path` and show `fileName` when done. Failures are shown in a
    // message box, after which the reader and the grid are empty.
    void Open(const wxString& path, const wxString& fileName);
    // Close the file, free its bytes and empty the grid.
    void Reset();

    void ReadFile(const wxString& path);
    std::unique_ptr<TableHeader> ReadHeader();
    std::unique_ptr<std::vector<ColumnDescriptor>> ReadColumnDescriptors(const TableHeader& header);
    void FillGrid();
    void MatchLabels();

    // What the last load left; for tests and the benchmark.
    bool IsFileOpen() const { return m_file && m_file->IsOpened(); }
    wxFileOffset FileSize() const { return m_fileSize; }

private:
    void SetStatus(const wxString& text, int field);
    void ShowColumnFormats(TableGridModel& model);
    TableGridModel* BuildModel();
    void StartReadingCatalogue();
    Catalogue TakeCatalogue();
    void SizeColumnsAndRows();

    MainFrame* m_frame;
    wxGrid* m_grid;
    std::unique_ptr<wxFile> m_file;
    wxString m_fileName;
    wxFileOffset m_fileSize = 0;
    FileBuffer m_buffer;
    std::size_t m_cursor = 0;  // read position in m_buffer
    std::unique_ptr<TableHeader> m_header;
    std::unique_ptr<std::vector<ColumnDescriptor>> m_columns;
    // The string catalogue, read on another thread while the cells are measured.
    std::future<Catalogue> m_catalogue;
};
