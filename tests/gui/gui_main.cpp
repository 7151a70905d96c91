// Runs the GUI tests inside the real application: QRBEditor starts as the program does,
// then each test drives its main window.
#include <gtest/gtest.h>

#include <string>

#include <wx/app.h>
#include <wx/init.h>

#include "DialogExpectations.h"
#include "QRBEditor.h"

namespace {

// A toolkit assertion would open a dialog and wait for a person; make it a test failure.
void FailOnToolkitAssertion(const wxString& file, int line, const wxString& func, const wxString& cond,
                            const wxString& message)
{
    const std::string where = Utf8(file);
    ADD_FAILURE_AT(where.c_str(), line) << "toolkit assertion in " << Utf8(func) << ": " << Utf8(cond) << " "
                                        << Utf8(message);
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxSetAssertHandler(FailOnToolkitAssertion);
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
    int result;
    {
        UnexpectedDialogGuard guard;
        result = RUN_ALL_TESTS();
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
