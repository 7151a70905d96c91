// Start-up of the viewer.
#include "QRBEditor.h"

#include <clocale>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <wx/image.h>

#include "../table/FileReader.h"
#include "MainFrame.h"

bool QRBEditor::OnInit()
{
    // Column names are converted with the user's locale encoding; numbers never use the locale.
    std::setlocale(LC_CTYPE, "");
#if defined(__GLIBC__)
    // The loader reads the string catalogue on a second thread; a malloc arena of its own
    // would keep several megabytes resident for nothing between loads.
    mallopt(M_ARENA_MAX, 1);
#endif
    wxInitAllImageHandlers();
    m_mainFrame = new MainFrame(this, nullptr);
    m_mainFrame->Show(true);
    SetTopWindow(m_mainFrame);
    m_fileReader = new FileReader(m_mainFrame, m_mainFrame->m_gridExt);
    return m_fileReader != nullptr;
}
