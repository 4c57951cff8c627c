// The Duplicate File Action dialog: one pair of twins from the results list, its
// two files, and what can be done to them.
#pragma once
#include <windows.h>

namespace orvkit {

// Shows the dialog (resource 1600) modally on the row in `row_item`.iItem; what
// DialogBoxParamW returned (-1 when the dialog could not be made).
INT_PTR show_action_dialog(HWND owner);

}  // namespace orvkit
