#include "about/diagnostics_window.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "core/globals.h"
#include "core/state.h"
#include "resources/resource_ids.h"

namespace orvkit {

namespace {

// The state handed over as the dialog parameter: a pointer to `about_state`.
const ostrand_state* state_of(HWND window) {
    auto* owner = reinterpret_cast<std::shared_ptr<ostrand_state>*>(GetWindowLongPtrW(window, DWLP_USER));
    return owner ? owner->get() : nullptr;
}

// Enter in the text box hides the window. The program's message loop filters no
// dialog messages, so the dialog manager never turns Enter into IDOK for this
// modeless window, and without a close box it could otherwise never be put away.
LRESULT CALLBACK text_box_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (message == WM_KEYDOWN && wparam == VK_RETURN) {
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, text_box_proc, 0);
    return DefSubclassProc(box, message, wparam, lparam);
}

INT_PTR on_init_dialog(HWND window, LPARAM parameter) {
    SetWindowLongPtrW(window, DWLP_USER, parameter);
    SetWindowSubclass(GetDlgItem(window, IDC_DIAGNOSTICS_TEXT), text_box_proc, 0, 0);
    SetDlgItemTextW(window, IDC_DIAGNOSTICS_TEXT, L"Ready...");
    SetTimer(window, diagnostics_timer, diagnostics_timer_ms, nullptr);
    return TRUE;
}

// Read on every tick, so the window shows what the state holds at that moment.
INT_PTR on_timer(HWND window, WPARAM timer) {
    if (timer != diagnostics_timer) return FALSE;
    const ostrand_state* state = state_of(window);
    SetDlgItemTextW(window, IDC_DIAGNOSTICS_TEXT, state ? state->debug_text.c_str() : L"");
    return TRUE;
}

// Enter hides the window: EndDialog on a modeless dialog only hides it, and the
// window, with its timer, stays until the process ends.
INT_PTR on_command(HWND window, WPARAM wparam) {
    if (LOWORD(wparam) != IDOK) return FALSE;
    EndDialog(window, IDOK);
    return TRUE;
}

INT_PTR CALLBACK diagnostics_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    try {
        switch (message) {
        case WM_INITDIALOG: return on_init_dialog(window, lparam);
        case WM_TIMER: return on_timer(window, wparam);
        case WM_COMMAND: return on_command(window, wparam);
        default: return FALSE;
        }
    } catch (...) {
        return FALSE;  // no exception crosses into the dialog manager
    }
}

}  // namespace

// A new window for every call; earlier ones are left as they are.
HWND show_diagnostics_window(HWND owner) {
    if (!about_state) return nullptr;
    HWND window = CreateDialogParamW(about_state->instance, MAKEINTRESOURCEW(IDD_DIAGNOSTICS), owner,
                                     diagnostics_window_proc, reinterpret_cast<LPARAM>(&about_state));
    if (window) ShowWindow(window, SW_SHOW);
    return window;
}

}  // namespace orvkit
