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

INT_PTR show_about_dialog(HWND owner) { return open(owner, IDD_ABOUT, reinterpret_cast<LPARAM>(&about_state)); }
HWND show_diagnostics_window(HWND) { return nullptr; }

}  // namespace orvkit
