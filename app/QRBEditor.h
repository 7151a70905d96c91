// The application object: builds the main window and the table loader at start-up.
#pragma once

#include <wx/app.h>

class MainFrame;
class FileReader;

class QRBEditor : public wxApp {
public:
    bool OnInit() override;

    MainFrame* m_mainFrame = nullptr;
    // Lives until the process ends: destroying it empties the grid, which must still exist.
    FileReader* m_fileReader = nullptr;
};
