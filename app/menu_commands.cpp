// The commands of the popup menu: options flipped or set, and what the less
// frequent commands open or start.
#include "app/menu_commands.h"

#include <shlobj.h>

#include "about/about_dialog.h"
#include "about/diagnostics_window.h"
#include "actions/remove_marked.h"
#include "actions/save_results.h"
#include "actions/undo_removal.h"
#include "app/window_dialogs.h"
#include "app/worker_start.h"
#include "core/globals.h"
#include "core/run_options.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "search/list_file.h"
#include "compare/run_gate.h"
#include "shell/folder_browser.h"
#include "ui/menu_ids.h"
#include "ui/results_list.h"
#include "ui/standard_dialogs.h"

namespace orvkit {

namespace {

constexpr BYTE transparent_alpha = 75;
constexpr UINT browse_flags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_RETURNFSANCESTORS;

void flip(uint8_t& flag) { flag = flag ? 0 : 1; }
void flip(std::atomic<uint8_t>& flag) { flag = flag ? 0 : 1; }

void toggle_on_top(HWND window) {
    uint8_t& on_top = app_state->settings.on_top;
    flip(on_top);
    SetWindowPos(window, on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

// Only the layered bit changes: the window keeps accepting dropped files.
void toggle_transparent(HWND window) {
    flip(transparent);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (transparent) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
        SetLayeredWindowAttributes(window, 0, transparent_alpha, LWA_ALPHA);
    } else {
        SetWindowLongPtrW(window, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    }
}

uint32_t percentage_of(UINT id) {
    if (id == menu_percent_50) return 50;
    if (id == menu_percent_75) return 75;
    if (id == menu_percent_90) return 90;
    return 95 + (id - menu_percent_95);
}

// The mark moves to "Move to " even when the browser is then cancelled.
void select_move_dir(HWND window) {
    DeleteQueue& deletions = app_state->deletions;
    deletions.options.delete_mode = delete_mode_move;
    std::wstring folder;
    if (menu_open.browse_folder(window, folder)) deletions.options.move_dir = folder;
}

void toggle_remove_when_found(HWND window) {
    if (remove_when_found == 0) {
        remove_when_found = 1;
        return;
    }
    remove_when_found = 0;
    remove_column_a = 0;
    remove_column_b = 0;
    keep_rule = keep_rule_none;
    set_list_columns(window);
}

// The two columns and the keep rules exclude each other; the list's third column
// follows them.
void choose_column(HWND window, std::atomic<uint8_t>& chosen, std::atomic<uint8_t>& other) {
    if (chosen == 0) {
        chosen = 1;
        other = 0;
        keep_rule = keep_rule_none;
    } else {
        chosen = 0;
    }
    set_list_columns(window);
}

void choose_keep_rule(HWND window, uint8_t rule) {
    if (keep_rule == rule) {
        keep_rule = keep_rule_none;
    } else {
        keep_rule = rule;
        remove_column_a = 0;
        remove_column_b = 0;
    }
    set_list_columns(window);
}

void show_help(HWND window) {
    if (HWND diagnostics = menu_open.diagnostics(window)) ShowWindow(diagnostics, SW_SHOW);
    menu_open.help(app_state);
}

// A saved index of 2 or more files is compared again without walking the folders.
// Only while idle: a second worker must never start beside a running one.
void resume_seeking(HWND window, const wchar_t* list_name) {
    if (run_status != status_idle) return;
    const std::shared_ptr<orvFileList> list = make_file_list();
    app_state->loaded_list.store(list);
    if (read_list_file(*list, list_name) >= 2) start_worker(window);
}

// The twin rows are rows 1 to twin_count: the status row above them and the
// closing row below stay, so twin_count keeps counting the twin rows shown.
// Not while a worker writes rows by their index.
void remove_focused_row() {
    if (run_status != status_idle) return;
    const int32_t twins = twin_count;
    if (twins <= 0) return;
    const int row = list_focused_row();
    if (row < 1 || row > twins) return;
    list_delete_row(row);
    twin_count = twins - 1;
}

// Puts back the last batch of removals off the window thread, so the window answers
// while thousands of files come back: the list's one row tells how far it is, the
// band's progress bar and Pause and Abort work as in a search, and the row then
// tells what became of the files.
DWORD WINAPI undo_worker(LPVOID) {
    try {
        if (const std::shared_ptr<ostrand_state> state = app_state) {
            const std::wstring outcome = undo_last_removal(*state, [](std::size_t done, std::size_t total,
                                                                      const std::wstring& path) {
                progress_percent = static_cast<int32_t>(100 * done / total);
                shown_path.set(path);
                const std::wstring step = L"Restoring " + std::to_wstring(done + 1) + L" of " + std::to_wstring(total);
                list_set_cell(0, 1, step.c_str());
                return hold_while_paused();
            });
            list_set_cell(0, 1, outcome.c_str());
        }
    } catch (...) {
        list_set_cell(0, 1, L"Undo stopped: out of memory");
    }
    end_worker_run();
    return 0;
}

// Starts `worker` off the window thread as a run of its own: the band's progress
// bar, Pause and Abort work as in a search. False when no thread could start.
bool start_list_worker(HWND window, LPTHREAD_START_ROUTINE worker, void* parameter) {
    pause_code = pause_running;
    SetEvent(go_event.get());
    shown_path.set({});
    progress_percent = 0;
    run_status = status_running;
    SetTimer(window, refresh_timer, refresh_timer_ms, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, worker, parameter, 0, nullptr);
    if (!thread) {
        run_status = status_idle;
        return false;
    }
    CloseHandle(thread);
    return true;
}

void undo_removal(HWND window) {
    if (run_status != status_idle) return;
    list_clear();
    list_insert_row(0, L"Undo");
    if (!start_list_worker(window, undo_worker, window)) list_set_cell(0, 1, L"Undo could not start");
}

// The options are taken here, on the window thread, as the column delete takes them.
void remove_marked(HWND window) {
    if (run_status != status_idle) return;
    auto how = std::make_unique<marked_removal>();
    how->options = app_state->deletions.options_for_batch();
    how->protected_folder = app_state->protected_folder;
    if (start_list_worker(window, remove_marked_worker, how.get())) how.release();  // the thread owns it now
}

}  // namespace

bool browse_move_folder(HWND owner, std::wstring& folder) {
    return browse_for_folder(owner, L"Where the deleted files go", browse_flags, folder);
}

menu_openers menu_open{show_about_dialog, show_diagnostics_window, open_help, open_action_dialog, browse_move_folder};

// Menu commands come with a high word of 0; the edit boxes' notifications, which
// share WM_COMMAND, carry their code there and are left alone.
LRESULT handle_menu_command(HWND window, WPARAM command) {
    const UINT id = LOWORD(command);
    if (HIWORD(command) != 0) return 0;
    ostrand_state& state = *app_state;
    settings_block& settings = state.settings;
    switch (id) {
    case menu_on_top: toggle_on_top(window); break;
    case menu_transparent: toggle_transparent(window); break;
    case menu_check_zero_length: flip(settings.check_zero_length); break;
    case menu_hash: flip(settings.use_hash); break;
    case menu_remove_empty_dirs: flip(settings.remove_empty_dirs); break;
    case menu_override_read_only: flip(state.deletions.options.override_read_only); break;
    case menu_recycle: state.deletions.options.delete_mode = delete_mode_recycle; break;
    case menu_delete: state.deletions.options.delete_mode = delete_mode_delete; break;
    case menu_move_to: state.deletions.options.delete_mode = delete_mode_move; break;
    case menu_select_move_dir: select_move_dir(window); break;
    case menu_remove_when_found: toggle_remove_when_found(window); break;
    case menu_column_a: choose_column(window, remove_column_a, remove_column_b); break;
    case menu_column_b: choose_column(window, remove_column_b, remove_column_a); break;
    case menu_keep_older: choose_keep_rule(window, keep_rule_older); break;
    case menu_keep_newer: choose_keep_rule(window, keep_rule_newer); break;
    case menu_keep_shorter_path: choose_keep_rule(window, keep_rule_shorter_path); break;
    case menu_mark_only: flip(mark_only); break;
    case menu_protect_search_this: flip(settings.protect_search_this); break;
    case menu_remove_marked: remove_marked(window); break;
    case menu_about: menu_open.about(window); break;
    case menu_help: show_help(window); break;
    case menu_details: menu_open.details(window); break;
    case menu_resume_seeking: resume_seeking(window, L"LastList.txt"); break;
    case menu_resume_seeking_pruned: resume_seeking(window, L"LastListPruned.txt"); break;
    case menu_remove_row: remove_focused_row(); break;
    case menu_undo_removal: undo_removal(window); break;
    case menu_save_results: save_results(window); break;
    case menu_exit: SendMessageW(window, WM_CLOSE, 0, 0); break;
    default:
        if (id >= menu_percent_50 && id <= menu_percent_100) settings.match_percentage = percentage_of(id);
        break;
    }
    return 0;
}

}  // namespace orvkit
