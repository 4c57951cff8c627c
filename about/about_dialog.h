// The About dialog: the program's name, where its file and the user's data are,
// and a button that opens both folders.
#pragma once
#include <windows.h>

#include "core/test_seams.h"

namespace orvkit {

// Shows the About dialog (resource 1025) modally; what DialogBoxParamW returned
// (-1 when the dialog could not be made).
INT_PTR show_about_dialog(HWND owner);

}  // namespace orvkit
