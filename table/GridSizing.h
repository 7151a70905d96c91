// Column widths and row heights fitted to a loaded table's contents. The results equal
// what the toolkit's own autosizing (with the sizes kept as minimums) gives, but are
// computed from the file's bytes: character advances are measured once per character,
// and only each column's widest candidates are measured as whole texts.
#pragma once

#include <wx/grid.h>

class TableGridModel;

void SizeColumnsToContents(wxGrid& grid, TableGridModel& model);
void SizeRowsToContents(wxGrid& grid, TableGridModel& model);
