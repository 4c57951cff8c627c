// The Duplicate File Action dialog opened from the results list, and what its
// answer asks the main window to do next.
#pragma once
#include <windows.h>

namespace orvkit {

// Opens the dialog on the focused row (row 1 for the status row 0) in the folder
// modes while idle; then starts the detail comparison or the column delete when
// the dialog asked for one. Returns 1.
int open_action_dialog(HWND window);

}  // namespace orvkit
