// The program's entry point. The command line is not read.
#include <wx/app.h>

#include "QRBEditor.h"

wxIMPLEMENT_APP_NO_MAIN(QRBEditor);

int main(int argc, char** argv)
{
    // The toolkit's internal consistency checks must never stop a user with a dialog (its
    // float cell editor, for one, asserts when asked to edit a cell that shows "nan").
    wxSetAssertHandler(nullptr);
    return wxEntry(argc, argv);
}
