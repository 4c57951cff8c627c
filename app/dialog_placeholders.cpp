#include "app/dialog_openers.h"

#include "app/globals.h"
#include "app/state.h"
#include "resources/resource_ids.h"

namespace orvkit {

// Placeholders until the dialogs land: their templates are not yet in the
// resources, so DialogBoxParamW returns -1 and nothing is shown.
namespace {

INT_PTR CALLBACK closing_dialog_proc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) EndDialog(dialog, 2);
    return FALSE;
}

INT_PTR open(HWND owner, int resource, LPARAM parameter) {
    return DialogBoxParamW(app_state->instance, MAKEINTRESOURCEW(resource), owner, closing_dialog_proc, parameter);
}

}  // namespace

INT_PTR show_action_dialog(HWND owner) { return open(owner, IDD_DUPLICATE_ACTION, 0); }
INT_PTR show_column_delete_dialog(HWND owner) { return open(owner, IDD_COLUMN_DELETE, 0); }

}  // namespace orvkit
