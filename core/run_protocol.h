// The run protocol: every value the window, the workers and the dialogs exchange
// through `run_status` and `pause_code`, the timer ids and the block sizes, named
// once. There are no private window messages; these words are the whole protocol.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orvkit {

// run_status: one status word, one meaning for everybody. "Busy" means not idle.
constexpr int32_t status_idle = 0;
constexpr int32_t status_running = 1;          // a worker was started
constexpr int32_t status_abort = 2;            // abort requested; also a comparison that ended early
constexpr int32_t status_invalid_a = 6;        // comparison outcomes
constexpr int32_t status_both_empty = 7;
constexpr int32_t status_invalid_b = 8;
constexpr int32_t status_indexing = 200;       // search worker walking the folders
constexpr int32_t status_comparing = 201;      // search worker comparing candidate pairs
constexpr int32_t status_last_worker = 500;    // 1..500: a worker runs (no status takes 500)
constexpr int32_t status_detail_view = 1001;   // "Detail View" chosen in the action dialog
constexpr int32_t status_delete_all_a = 1020;  // "Delete ALL" for column A
constexpr int32_t status_delete_all_b = 1021;  // "Delete ALL" for column B
constexpr int32_t status_batch_running = 1025; // the column-delete batch works
constexpr int32_t status_batch_stop = 9999;    // the column-delete batch is asked to stop
constexpr int32_t status_menu_open = 2000;     // the popup menu was opened while idle

// pause_code
constexpr int32_t pause_running = 0;
constexpr int32_t pause_paused = 5;
constexpr int32_t pause_aborting = 10;

// progress_percent after a worker ended; the painting turns it back into 100.
constexpr int32_t progress_finished = 101;

// Timers of the main window.
constexpr uintptr_t refresh_timer = 1;         // repaints the progress while a worker runs
constexpr unsigned refresh_timer_ms = 100;
constexpr uintptr_t close_timer = 2;           // destroys the window once an aborted run ended
constexpr unsigned close_timer_ms = 1000;

// Each comparison block: 20,000,064 bytes. The comparison reads files in spans of
// 10,000,000 bytes; the list's read buffer and the list-file reader use blocks of the
// same size.
constexpr std::size_t compare_block_bytes = 20000064;
constexpr std::size_t compare_span_bytes = 10000000;

// A worker runs while run_status is 1..500; no status takes 500, so the refresh
// timer's view (1..500) and the painting's (1..499) agree.
inline bool worker_running(int32_t status) { return status >= status_running && status <= status_last_worker; }

// The running worker's last steps: not paused, just finished, and idle last, so a
// new run's values are never overwritten by the old run's end.
void end_worker_run();

}  // namespace orvkit
