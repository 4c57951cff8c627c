// The process-wide variables through which the window thread and the one worker
// thread talk. Next to each: who writes it and who reads it. Every variable that
// crosses threads is atomic. The strings are shared without a lock: the window
// writes path_a and path_b only while no worker runs, and while one runs only the
// worker touches them (the painting reads shown_path instead).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "app/published_text.h"

namespace orvkit {
class ostrand_state;
}

// Owners of the state object; set once by initialise (window thread).
extern std::shared_ptr<orvkit::ostrand_state> app_state;
extern std::shared_ptr<orvkit::ostrand_state> about_state;

// 0 File, 1 Directory, 2 Quick Dir, 3 QDir+. Window writes (mode switch, settings); workers read.
extern std::atomic<uint32_t> search_mode;
// The status word (0 idle, 1..500 a worker runs, ...). Window and workers write and read.
extern std::atomic<int32_t> run_status;
// 0 running, 5 paused, 10 abort requested. Window writes; workers read.
extern std::atomic<int32_t> pause_code;
constexpr int32_t pause_running = 0;
constexpr int32_t pause_paused = 5;
constexpr int32_t pause_aborting = 10;
// Manual-reset event, reset while paused. Window sets and resets it; workers wait on it.
extern HANDLE go_event;

// Read from the edit boxes on Start (window thread) and read by the worker.
extern std::wstring path_a;
extern std::wstring path_b;
// The file the search worker is comparing, for the painting: path_a itself changes
// under the worker, so the painting reads this copy instead.
extern orvkit::published_text shown_path;
// Scratch path for drops and the file picker (window thread only).
extern std::wstring picked_path;

// Window thread only.
extern HWND edit_a;
extern HWND edit_b;
extern HWND list_view;
extern std::atomic<uint32_t> client_width;
extern std::atomic<uint32_t> client_height;
extern uint32_t drop_toggle;
extern wchar_t window_class_name[100];

// Workers write, the painting reads. 101 means "just finished".
extern std::atomic<int32_t> progress_percent;
// Twin rows listed. Window resets it at a worker's start; the search worker raises it.
extern std::atomic<int32_t> twin_count;
// The one row record of list writes and reads; used by one thread at a time.
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

// Options that are not saved. Window writes (menu); workers read.
extern std::atomic<uint8_t> transparent;
extern std::atomic<uint8_t> remove_when_found;
extern std::atomic<uint8_t> remove_column_a;
extern std::atomic<uint8_t> remove_column_b;
