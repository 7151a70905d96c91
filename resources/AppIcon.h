// The main window's icon, kept apart from the window code so the image and its packaging can change alone.
#pragma once

#include <wx/icon.h>

// Returns the main window's icon ("aaaa"): on Windows from the resource script, elsewhere from the embedded PNG.
wxIcon LoadAppIcon();
