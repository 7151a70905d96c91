// Runs the GUI tests inside the real application: QRBEditor starts as the program does,
// then each test drives its main window.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/init.h>

#include "QRBEditor.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new QRBEditor());
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot initialise the toolkit (is there a display?)\n");
        return 1;
    }
    if (!wxTheApp->CallOnInit()) {
        fprintf(stderr, "the application did not start\n");
        wxEntryCleanup();
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
