// Window and command identifiers of the main window. Each window's name is its identifier's name.
#pragma once

#include <wx/defs.h>

enum : int {
    ID_GRIDEXT = wxID_HIGHEST + 1,
    ID_MENUITEMOPEN,
    ID_MENUITEMSAVE,
    ID_MENUITEMSAVEAS,
    ID_MENUITEMEXIT,
    ID_MENUITEMABOUT,
    ID_STATUSBAR,
    ID_TOOLOPEN,
    ID_TOOLSAVE,
    ID_TOOLSAVEAS,
    ID_TEXTCTRLSEARCH,
    ID_TOOLSEARCH,
    ID_TOOLBAR,
};
