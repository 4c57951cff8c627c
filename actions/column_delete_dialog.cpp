// The column delete dialog: asks before every file of one column of the results list
// is removed, then shows the batch's progress while `column_delete_worker` runs.
//
// The dialog and its thread talk only through run_status: Yes sets
// status_batch_running before the thread starts, No while it runs asks for a stop
// (status_batch_stop), the thread sets idle last, and the dialog's timer, polling
// for idle, empties the list and closes the dialog.
#include "actions/column_delete_dialog.h"

#include <windows.h>

#include <memory>

#include "actions/column_delete_worker.h"
#include "core/globals.h"
#include "core/removal_journal.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "resources/resource_ids.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

constexpr UINT_PTR batch_poll_timer = 1;
constexpr UINT batch_poll_ms = 1000;

const wchar_t warning_text[] =
    L"Deleting all files in a column can be dangerous if you are not sure what you are doing. "
    L"Please be sure you are sure...";

batch_outcome* outcome_of(HWND dialog) {
    return reinterpret_cast<batch_outcome*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void set_font(HWND dialog, int control, HFONT font) {
    SendDlgItemMessageW(dialog, control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

INT_PTR on_init_dialog(HWND dialog, LPARAM outcome) {
    SetWindowLongPtrW(dialog, DWLP_USER, outcome);
    SetDlgItemTextW(dialog, IDOK,
                    run_status == status_delete_all_a ? L"Delete all files in Column A" : L"Delete all files in Column B");
    SetDlgItemTextW(dialog, IDC_BATCH_TEXT, warning_text);
    SetDlgItemTextW(dialog, IDCANCEL, L"Cancel action and do nothing");
    if (app_state) {
        set_font(dialog, IDOK, app_state->large_font.get());
        set_font(dialog, IDCANCEL, app_state->large_font.get());
        set_font(dialog, IDC_BATCH_TEXT, app_state->small_font.get());
    }
    return TRUE;
}

// Only a pending request starts a batch: a second Yes (the Enter key still reaches
// the hidden button) while one runs, or after it, starts nothing.
INT_PTR on_yes(HWND dialog) {
    int32_t request = run_status;
    if (request != status_delete_all_a && request != status_delete_all_b) return TRUE;
    if (!run_status.compare_exchange_strong(request, status_batch_running)) return TRUE;
    auto batch = std::make_unique<column_batch>();
    batch->dialog = dialog;
    batch->column = request == status_delete_all_a ? 0 : 1;
    batch->outcome = outcome_of(dialog);
    batch->options = app_state->deletions.options_for_batch();
    batch->protected_folder = app_state->protected_folder;
    HANDLE thread = CreateThread(nullptr, 0, column_delete_worker, batch.get(), 0, nullptr);
    if (thread) {
        batch.release();  // the thread owns it now
        CloseHandle(thread);
    } else {
        run_status = status_idle;  // nothing runs: the timer ends the dialog as after a batch
    }
    SetTimer(dialog, batch_poll_timer, batch_poll_ms, nullptr);
    ShowWindow(GetDlgItem(dialog, IDOK), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_BATCH_PROGRESS), SW_SHOW);
    return TRUE;
}

INT_PTR on_no(HWND dialog) {
    int32_t running = status_batch_running;
    if (run_status.compare_exchange_strong(running, status_batch_stop)) return TRUE;
    // Already stopping, or ended and waiting for the timer: the batch closes the dialog.
    if (running == status_batch_stop || !IsWindowVisible(GetDlgItem(dialog, IDOK))) return TRUE;
    run_status = status_idle;
    EndDialog(dialog, IDCANCEL);
    return TRUE;
}

// The list is emptied and one row tells what the batch did.
INT_PTR on_timer(HWND dialog, UINT_PTR timer) {
    if (timer != batch_poll_timer || run_status != status_idle) return TRUE;
    KillTimer(dialog, batch_poll_timer);
    list_clear();
    if (const batch_outcome* outcome = outcome_of(dialog)) {
        list_insert_row(0, L"Column delete ended");
        list_set_cell(0, 1, outcome_text(*outcome).c_str());
        if (outcome->journal_failed) list_set_cell(0, 2, journal_failed_text);
    }
    EndDialog(dialog, IDOK);
    return TRUE;
}

INT_PTR CALLBACK confirm_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    try {
        switch (message) {
        case WM_INITDIALOG: return on_init_dialog(dialog, lparam);
        case WM_COMMAND:
            if (LOWORD(wparam) == IDOK) return on_yes(dialog);
            if (LOWORD(wparam) == IDCANCEL) return on_no(dialog);
            return FALSE;
        case WM_TIMER: return on_timer(dialog, wparam);
        default: return FALSE;
        }
    } catch (...) {
        return FALSE;  // out of memory for the closing row's text: the list stays empty
    }
}

}  // namespace

INT_PTR show_column_delete_dialog(HWND owner) {
    const HINSTANCE instance = app_state ? app_state->instance : GetModuleHandleW(nullptr);
    // The batch's outcome outlives the batch: the dialog closes only once its worker
    // has written run_status idle, the worker's last write.
    batch_outcome outcome;
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_COLUMN_DELETE), owner, confirm_dialog_proc,
                           reinterpret_cast<LPARAM>(&outcome));
}

}  // namespace orvkit
