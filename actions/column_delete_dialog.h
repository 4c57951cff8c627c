// The column delete: a confirmation, then the batch's progress in the same dialog.
#pragma once
#include <windows.h>

namespace orvkit {

// Shows the confirmation (resource 1601) modally for the column run_status names
// (status_delete_all_a or status_delete_all_b); what DialogBoxParamW returned.
INT_PTR show_column_delete_dialog(HWND owner);

}  // namespace orvkit
