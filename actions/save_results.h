// "Save Results As…" (the popup menu's command and Ctrl+S): the results list as a
// CSV or tab-separated file the user names.
#pragma once
#include <windows.h>

#include <vector>

#include "actions/results_export.h"

namespace orvkit {

// Asks for a name with the standard save dialog and writes every row of the list
// there; a failure is told in a message box and leaves any file there as it was.
// Nothing happens while a run goes on or while the list is empty.
void save_results(HWND window);

// The list as records: the column titles, then one record a row. In the folder
// modes each record also has the size and local last-write time of the files its
// first two cells name, read now (empty for a cell that names no existing file).
std::vector<export_record> results_records();

}  // namespace orvkit
