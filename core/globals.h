// The process-wide variables through which the window thread and the one worker
// thread talk; their values are named in app/run_protocol.h. Next to each: who
// writes it and who reads it. Every variable that crosses threads is atomic. The
// strings are shared without a lock: the window writes path_a and path_b only while
// no worker runs, and while one runs only the worker touches them (the painting
// reads shown_path instead).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "base/owner.h"
#include "base/published_text.h"
#include "core/run_protocol.h"

namespace orvkit {
class ostrand_state;
}

// Owners of the state object; set once by initialise (window thread).
extern std::shared_ptr<orvkit::ostrand_state> app_state;
extern std::shared_ptr<orvkit::ostrand_state> about_state;

// 0 File, 1 Directory, 2 Quick Dir, 3 QDir+. Window writes (mode switch, settings); workers read.
extern std::atomic<uint32_t> search_mode;
// The status word (status_* values). Window, workers and dialogs write and read.
extern std::atomic<int32_t> run_status;
// pause_running, pause_paused or pause_aborting. Window writes; workers read.
extern std::atomic<int32_t> pause_code;
// GetTickCount64() when the current pause was asked for. Window writes; workers read.
extern std::atomic<uint64_t> pause_began_at;
// Manual-reset event, reset while paused. Window sets and resets it; workers wait on it.
// Made at start-up, closed at process end.
extern orvkit::unique_handle go_event;

// Read from the edit boxes on Start (window thread) and read by the worker.
extern std::wstring path_a;
extern std::wstring path_b;
// The file the search worker is comparing, for the painting: path_a itself changes
// under the worker, so the painting reads this copy instead.
extern orvkit::published_text shown_path;
// Scratch path for drops and the file picker (window thread only).
extern std::wstring picked_path;

// Made by the window thread with the window. The workers use them too: they show or
// hide edit_b and send their rows to list_view (each send runs on the window thread).
extern HWND edit_a;
extern HWND edit_b;
extern HWND list_view;
// The client size of the last WM_SIZE. Window writes; the painting reads.
extern std::atomic<uint32_t> client_width;
extern std::atomic<uint32_t> client_height;
// The main window's dots per inch (96 at 100 %). Window writes at creation and on
// WM_DPICHANGED; the painting, the layout and the list's columns read.
extern std::atomic<uint32_t> window_dpi;
// Window thread only.
extern uint32_t drop_toggle;
extern wchar_t window_class_name[100];

// Workers write, the painting reads. progress_finished means "just finished".
extern std::atomic<int32_t> progress_percent;
// Twin rows listed. Reset at a worker's start (window thread) and by the search
// worker, raised by the search worker, lowered by the menu's "Remove" (window thread
// while idle); read by the menu, the column delete and the closing row.
extern std::atomic<int32_t> twin_count;
// Only its iItem is still used: the row the Duplicate File Action dialog shows
// (window thread only). Rows are written and read through ui/results_list.h.
extern LVITEMW row_item;
// Comparison buffers of 20,000,064 bytes; taken and freed by the running worker.
extern uint8_t* compare_buffer_a;
extern uint8_t* compare_buffer_b;

// Which painted button the mouse is over (window thread only).
extern uint8_t hover_top;
extern uint8_t hover_help;
extern uint8_t hover_choose_a;
extern uint8_t hover_choose_b;
extern uint8_t hover_mode;
extern uint8_t hover_start;

// Options that are not saved. Window writes (menu); a search copies the column or
// the keep rule, and Mark Only, into its own options when it starts.
extern std::atomic<uint8_t> transparent;
extern std::atomic<uint8_t> remove_when_found;
extern std::atomic<uint8_t> remove_column_a;
extern std::atomic<uint8_t> remove_column_b;
extern std::atomic<uint8_t> keep_rule;   // a keep_rule_* value of core/run_options.h; 0 none
extern std::atomic<uint8_t> mark_only;   // automatic removal marks the files instead
