#include "app/worker_start.h"

#include "actions/file_compare.h"
#include "app/window_geometry.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "search/search_worker.h"

namespace orvkit {

namespace {

// The directory walk recurses once per folder level: a deep tree needs far more
// than the default 1 MiB stack. Only address space is reserved up front.
constexpr SIZE_T worker_stack_reservation = 64u << 20;

void back_to_idle(HWND window) {
    run_status = status_idle;
    KillTimer(window, refresh_timer);
    const RECT band = scaled_rect(top_band_rect(band_width()));
    InvalidateRect(window, &band, TRUE);
}

}  // namespace

HANDLE create_worker_thread(LPTHREAD_START_ROUTINE routine, HWND window) {
    return CreateThread(nullptr, worker_stack_reservation, routine, window, STACK_SIZE_PARAM_IS_A_RESERVATION,
                        nullptr);
}

worker_thread_maker make_worker_thread = create_worker_thread;

int start_worker(HWND window) {
    const uint32_t mode = search_mode;
    if (!known_mode(mode)) return 1;  // a mode from a foreign settings file has no worker

    // A fresh run is neither paused nor aborted, whatever a race with the last
    // run's end left behind.
    pause_code = pause_running;
    SetEvent(go_event.get());

    shown_path.set({});  // nothing of the last run on the status line
    run_status = status_running;
    SetTimer(window, refresh_timer, refresh_timer_ms, nullptr);
    progress_percent = 0;
    twin_count = 0;
    HANDLE thread = make_worker_thread(mode == mode_file ? compare_files : search_worker, window);
    if (!thread) {
        // No worker will ever clear the status.
        back_to_idle(window);
        return 1;
    }
    CloseHandle(thread);
    return 1;
}

}  // namespace orvkit
