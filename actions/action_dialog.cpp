// The Duplicate File Action dialog: one pair of twins from the results list, its two
// files, and what can be done to them. The current row lives in `row_item`.iItem and
// the request handed back to the main window in `run_status`.
#include "actions/action_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "actions/pair_fields.h"
#include "compare/removal_guard.h"
#include "base/file_reading.h"
#include "base/long_path.h"
#include "core/delete_queue.h"
#include "core/globals.h"
#include "shell/recycle_bin.h"
#include "core/removal_journal.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "resources/resource_ids.h"
#include "shell/com_apartment.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

constexpr int path_units = 1200;

struct tip {
    int control;
    const char* text;
};
constexpr tip action_tips[] = {
    {IDC_PATH_A, "File A filename"},
    {IDC_PATH_B, "File B filename"},
    {IDC_SIZE_A, "File A size measured in bytes"},
    {IDC_SIZE_B, "File B size measured in bytes"},
    {IDC_MODIFIED_A, "Date that File A was last modified"},
    {IDC_MODIFIED_B, "Date that File B was last modified"},
    {IDC_OPEN_A, "Open File A with default file viewer"},
    {IDC_OPEN_B, "Open File B with default file viewer"},
    {IDC_DELETE_A, "Delete File A"},
    {IDC_DELETE_B, "Delete File B"},
    {IDC_DELETE_ALL_A, "Delete all files in the 'File A' column that were found to be 100% the same"},
    {IDC_DELETE_ALL_B, "Delete all files in the 'File B' column that were found to be 100% the same"},
    {IDC_DETAIL_VIEW, "Perform detailed comparison of these files"},
};

std::wstring item_text(HWND dialog, int control) {
    wchar_t text[path_units] = {};
    const UINT length = GetDlgItemTextW(dialog, control, text, path_units);
    return std::wstring(text, length);
}

void set_font(HWND dialog, int control, HFONT font) {
    SendDlgItemMessageW(dialog, control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// The dialog's controls die with it, so their tips go too.
void remove_tips(HWND dialog) {
    if (!app_state) return;
    for (const tip& t : action_tips) remove_tooltip(*app_state, GetDlgItem(dialog, t.control));
}

// The shell may take its time to find and start a viewer (or to fail to), so it is
// asked on a thread of its own and the dialog never waits. No error box is shown:
// a file without a viewer leaves everything as it was.
DWORD WINAPI open_with_viewer(LPVOID parameter) {
    // Nothing here throws: the path is only read, and the shell's calls are C.
    std::unique_ptr<std::wstring> path(static_cast<std::wstring*>(parameter));
    const com_apartment com;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = path->c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
    return 0;
}

void open_file(HWND dialog, int path_control) {
    auto path = std::make_unique<std::wstring>(item_text(dialog, path_control));
    if (path->empty()) return;
    HANDLE thread = CreateThread(nullptr, 0, open_with_viewer, path.get(), 0, nullptr);
    if (!thread) return;
    path.release();  // the thread owns it now
    CloseHandle(thread);
}

// The user chose this file, so the guard does not refuse it; but for a file of the
// protected folder, and whenever it cannot confirm that the other file of the pair
// keeps the same bytes, it says why and asks first.
bool partner_check_allows(HWND dialog, const std::wstring& file, const std::wstring& partner) {
    const wchar_t* why = nullptr;
    removal_guard guard;
    if (app_state) guard.protect(app_state->protected_folder);
    if (guard.is_protected(file)) {
        const std::wstring text = L"This file lies in the protected folder " + app_state->protected_folder +
                                  L".\n\nDelete it anyway?";
        if (MessageBoxW(dialog, text.c_str(), L"Ostrand 2.0", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return false;
    }
    switch (guard.check(file, partner)) {
    case removal_verdict::partner_stays: return true;
    case removal_verdict::partner_missing: why = L"The other file of this pair cannot be opened now."; break;
    case removal_verdict::partner_changed: why = L"The other file of this pair no longer holds the same bytes."; break;
    case removal_verdict::same_file: why = L"Both names of this pair reach one and the same file."; break;
    case removal_verdict::file_gone:
        why = L"This file cannot be read now, so it cannot be compared with the other file of this pair.";
        break;
    default: why = L"It cannot be told whether the other file of this pair is another file."; break;
    }
    const std::wstring text = std::wstring(why) + L"\nThis may be the last copy of the file.\n\nDelete it anyway?";
    return MessageBoxW(dialog, text.c_str(), L"Ostrand 2.0", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// The shell on Windows takes only plain paths of at most MAX_PATH characters; the
// long form is kept for longer ones, which only some shells accept. The one-entry
// list ends in a double NUL. The journal gets a line before the shell is asked and
// one after, once the disk shows what became of the file.
void delete_file(HWND dialog, int path_control, int partner_control, int pressed) {
    const std::wstring path = item_text(dialog, path_control);
    if (path.empty()) return;
    const std::wstring partner = item_text(dialog, partner_control);
    if (!partner_check_allows(dialog, path, partner)) return;
    const uint64_t size = size_of_file(path);
    std::wstring list = system_path(path);
    list.append(2, L'\0');
    const std::shared_ptr<ostrand_state> state = app_state;
    std::unique_ptr<journal_batch> journal;
    if (state) journal = std::make_unique<journal_batch>(*state, L"Delete File");
    const uint64_t since = ticks_now();
    if (journal) journal->record(journal_action::recycling, path, {}, partner, size);
    shell_recycle(dialog, list.c_str(), FOF_ALLOWUNDO);
    // The shell's own answer is not the outcome: some shells report success when the
    // user declined, and the row goes only with the file.
    const bool left = !path_exists(path);
    if (journal) {
        recent_bin_items bin({path}, since);
        if (left)
            record_recycled(*journal, path, partner, size, bin);
        else
            journal->record(journal_action::failed, path, {}, partner, size);
        journal->end();
    }
    if (!left) return;
    list_delete_row(row_item.iItem);
    if (fill_pair_fields(dialog) == 0) EndDialog(dialog, pressed);
}

void detail_view(HWND dialog) {
    path_a = item_text(dialog, IDC_PATH_A);
    path_b = item_text(dialog, IDC_PATH_B);
    SetWindowTextW(edit_a, path_a.c_str());
    SetWindowTextW(edit_b, path_b.c_str());
    run_status = status_detail_view;
    EndDialog(dialog, IDC_DETAIL_VIEW);
}

INT_PTR on_init_dialog(HWND dialog) {
    if (app_state) {
        for (int button : {IDC_OPEN_A, IDC_OPEN_B, IDC_DELETE_A, IDC_DELETE_B, IDC_DELETE_ALL_A, IDC_DELETE_ALL_B})
            set_font(dialog, button, app_state->large_font.get());
        set_font(dialog, IDC_PAIR_TITLE, app_state->small_font.get());
    }
    if (fill_pair_fields(dialog) == 0) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    if (app_state)
        for (const tip& t : action_tips) add_tooltip(*app_state, dialog, t.control, t.text);
    return TRUE;
}

INT_PTR on_command(HWND dialog, int id) {
    switch (id) {
    case IDC_OPEN_A: open_file(dialog, IDC_PATH_A); return TRUE;
    case IDC_OPEN_B: open_file(dialog, IDC_PATH_B); return TRUE;
    case IDC_DELETE_A: delete_file(dialog, IDC_PATH_A, IDC_PATH_B, id); return TRUE;
    case IDC_DELETE_B: delete_file(dialog, IDC_PATH_B, IDC_PATH_A, id); return TRUE;
    case IDC_DETAIL_VIEW: detail_view(dialog); return TRUE;
    case IDC_DELETE_ALL_A: run_status = status_delete_all_a; EndDialog(dialog, id); return TRUE;
    case IDC_DELETE_ALL_B: run_status = status_delete_all_b; EndDialog(dialog, id); return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK action_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    try {
        switch (message) {
        case WM_INITDIALOG: return on_init_dialog(dialog);
        case WM_COMMAND: return on_command(dialog, LOWORD(wparam));
        case WM_DESTROY: remove_tips(dialog); return FALSE;
        default: return FALSE;
        }
    } catch (...) {
        // Out of memory for a path text: the dialog closes with nothing done.
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

}  // namespace

INT_PTR show_action_dialog(HWND owner) {
    const HINSTANCE instance = app_state ? app_state->instance : GetModuleHandleW(nullptr);
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_DUPLICATE_ACTION), owner, action_dialog_proc, 0);
}

}  // namespace orvkit
