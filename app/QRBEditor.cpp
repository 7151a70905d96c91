// Start-up of the viewer.
#include "QRBEditor.h"

#include <clocale>

#include <wx/image.h>

#include "../table/FileReader.h"
#include "MainFrame.h"

bool QRBEditor::OnInit()
{
    // Column names are converted with the user's locale encoding; numbers never use the locale.
    std::setlocale(LC_CTYPE, "");
    wxInitAllImageHandlers();
    m_mainFrame = new MainFrame(this, nullptr);
    m_mainFrame->Show(true);
    SetTopWindow(m_mainFrame);
    m_fileReader = new FileReader(m_mainFrame, m_mainFrame->m_gridExt);
    return m_fileReader != nullptr;
}
