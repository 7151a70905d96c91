// Access to the running viewer for GUI tests: its main window, loader and grid, the commands
// as a person gives them, and a fixture that works in a folder of its own with the status
// bar recorded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/grid.h>

#include "DialogExpectations.h"
#include "FileReader.h"
#include "Identifiers.h"
#include "MainFrame.h"
#include "QRBEditor.h"
#include "ScratchFolder.h"
#include "StatusRecorder.h"
#include "TableBytes.h"

inline MainFrame& Frame()
{
    return *static_cast<QRBEditor*>(wxTheApp)->m_mainFrame;
}

inline FileReader& Reader()
{
    return *static_cast<QRBEditor*>(wxTheApp)->m_fileReader;
}

inline wxGrid& Grid()
{
    return *Frame().m_gridExt;
}

// A menu or tool command, as the toolkit delivers it to the main window.
inline void SendCommand(int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(&Frame());
    Frame().GetEventHandler()->ProcessEvent(event);
}

// How many of this process's descriptors are open on the file at `path`.
inline int OpenDescriptorsOn(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = fs::weakly_canonical(path, error);
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code linkError;
        const fs::path points = fs::read_symlink(entry.path(), linkError);
        if (!linkError && points == target)
            ++count;
    }
    return count;
}

// The resident memory of this process in KiB.
inline long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

// Whether any viewer test has run in this process yet (the start state is only seen before).
inline bool& ViewerWasUsed()
{
    static bool used = false;
    return used;
}

class ViewerTest : public testing::Test {
protected:
    ViewerTest() { ViewerWasUsed() = true; }

    // Every load reads the catalogue from the working folder; a valid one keeps the
    // warning box about a missing catalogue out of tests that are not about it.
    void SetUp() override { m_folder.WriteCatalogue(); }

    std::string Write(const std::string& name, const TableBytes& table) const
    {
        return m_folder.Write(name, table.Bytes());
    }

    // Loads through the loader's entry point, as the Open command does after its dialog.
    static void Load(const std::string& path)
    {
        const wxString fullPath = wxString::FromUTF8(path);
        Reader().Open(fullPath, wxFileName(fullPath).GetFullName());
    }

    static void LoadExpectingError(const std::string& path, const std::string& message)
    {
        wxTEST_DIALOG(Load(path), ExpectErrorBox(message));
    }

    static std::vector<std::string> ColumnLabels()
    {
        std::vector<std::string> labels;
        for (int col = 0; col < Grid().GetNumberCols(); ++col)
            labels.push_back(Utf8(Grid().GetColLabelValue(col)));
        return labels;
    }

    static std::vector<std::string> RowLabels()
    {
        std::vector<std::string> labels;
        for (int row = 0; row < Grid().GetNumberRows(); ++row)
            labels.push_back(Utf8(Grid().GetRowLabelValue(row)));
        return labels;
    }

    // Every cell, row by row.
    static std::vector<std::vector<std::string>> Cells()
    {
        std::vector<std::vector<std::string>> cells;
        for (int row = 0; row < Grid().GetNumberRows(); ++row) {
            std::vector<std::string> line;
            for (int col = 0; col < Grid().GetNumberCols(); ++col)
                line.push_back(Utf8(Grid().GetCellValue(row, col)));
            cells.push_back(line);
        }
        return cells;
    }

    ScratchFolder m_folder;
    StatusRecorder m_status{Frame()};
};
