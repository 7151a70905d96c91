// The program's entry point. The command line is not read.
#include <wx/app.h>

#include "QRBEditor.h"

wxIMPLEMENT_APP(QRBEditor);
