#include "about/about_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>
#include <memory>
#include <string>

#include "core/globals.h"
#include "core/state.h"
#include "resources/resource_ids.h"
#include "ui/results_list.h"

namespace orvkit {

shell_execute_function about_shell_execute = ShellExecuteW;

namespace {

// The pages of the combo box, in their order.
constexpr int page_prog_dirs = 0;
constexpr int page_diagnostics = 1;
constexpr const wchar_t* page_names[] = {L"Prog Dirs", L"Diagnostics"};

// Where the page text goes once a page is shown, in pixels of the client area.
constexpr int text_left = 5, text_top = 190, text_width = 290, text_height = 140;

constexpr const char* open_dirs_tip = "Open Dirs";

// The state handed over as the dialog parameter: a pointer to `about_state`.
ostrand_state* state_of(HWND dialog) {
    auto* owner = reinterpret_cast<std::shared_ptr<ostrand_state>*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return owner ? owner->get() : nullptr;
}

// Built whole rather than with wsprintfW, whose output stops at 1024 characters:
// two long paths would lose the end of the data folder, and the text would then
// name a different folder than the one the program uses.
std::wstring page_text(const ostrand_state* state, int page) {
    if (page == page_diagnostics) return L"Blank for now";
    if (!state) return {};
    return L"Location of program:\r\n" + state->program_path.full + L" \r\n\r\nWhere program stores user data:\r\n" +
           state->data_path.full;
}

// The shared tooltip window keeps every tool it is given, also after the control
// is gone; the button's tool is dropped before it is registered again and when the
// dialog closes, so neither page changes nor repeated openings pile up stale
// tools (a later window that reuses the handle would otherwise show the tip).
void forget_open_dirs_tip(const ostrand_state* state, HWND dialog) {
    if (state) remove_tooltip(*state, GetDlgItem(dialog, IDC_ABOUT_OPEN_DIRS));
}

void show_page(HWND dialog, int page) {
    const ostrand_state* state = state_of(dialog);
    SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, CB_SETCURSEL, page, 0);
    MoveWindow(GetDlgItem(dialog, IDC_ABOUT_TEXT), text_left, text_top, text_width, text_height, TRUE);
    SetDlgItemTextW(dialog, IDC_ABOUT_OPEN_DIRS, L"Open Dirs");
    if (state && state->tooltip) {
        forget_open_dirs_tip(state, dialog);
        add_tooltip(*state, dialog, IDC_ABOUT_OPEN_DIRS, open_dirs_tip);
    }
    SetDlgItemTextW(dialog, IDC_ABOUT_TEXT, page_text(state, page).c_str());
}

int shown_page(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, CB_GETCURSEL, 0, 0));
}

// The program's folder, then the data folder; the results are not checked (a
// folder that is gone simply does not open). In portable use both are the same
// folder, and it opens twice.
void open_dirs(HWND dialog) {
    const ostrand_state* state = state_of(dialog);
    if (!state || shown_page(dialog) != page_prog_dirs) return;
    for (const std::wstring* folder : {&state->program_path.folder, &state->data_path.folder})
        about_shell_execute(nullptr, nullptr, folder->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR on_init_dialog(HWND dialog, LPARAM parameter) {
    SetWindowLongPtrW(dialog, DWLP_USER, parameter);
    for (int page = 0; page < static_cast<int>(std::size(page_names)); ++page)
        SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, CB_INSERTSTRING, page, reinterpret_cast<LPARAM>(page_names[page]));
    show_page(dialog, page_prog_dirs);
    return TRUE;
}

INT_PTR on_command(HWND dialog, WPARAM wparam) {
    switch (LOWORD(wparam)) {
    case IDC_ABOUT_PAGES:
        if (HIWORD(wparam) == CBN_SELCHANGE && shown_page(dialog) != CB_ERR) show_page(dialog, shown_page(dialog));
        return TRUE;
    case IDC_ABOUT_OPEN_DIRS: return open_dirs(dialog), TRUE;
    // Close, Enter, and Escape: the dialog has no close box, so Escape is the
    // keyboard's other way out.
    case IDOK:
    case IDCANCEL: return EndDialog(dialog, IDOK), TRUE;
    default: return FALSE;
    }
}

INT_PTR dispatch(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: return on_init_dialog(dialog, lparam);
    case WM_COMMAND: return on_command(dialog, wparam);
    case WM_DESTROY: return forget_open_dirs_tip(state_of(dialog), dialog), FALSE;
    default: return FALSE;
    }
}

// No C++ exception may unwind into the dialog manager.
INT_PTR CALLBACK about_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    try {
        return dispatch(dialog, message, wparam, lparam);
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

INT_PTR show_about_dialog(HWND owner) {
    if (!about_state) return -1;
    return DialogBoxParamW(about_state->instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, about_dialog_proc,
                           reinterpret_cast<LPARAM>(&about_state));
}

}  // namespace orvkit
