#include "app/worker_start.h"

#include "actions/compare.h"
#include "app/globals.h"
#include "app/window_geometry.h"
#include "search/search_worker.h"

namespace orvkit {

namespace {

// The directory walk recurses once per folder level: a deep tree needs far more
// than the default 1 MiB stack. Only address space is reserved up front.
constexpr SIZE_T worker_stack_reservation = 64u << 20;

void back_to_idle(HWND window) {
    run_status = 0;
    KillTimer(window, 1);
    const RECT band = top_band_rect(client_width);
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
    if (mode > 3) return 1;  // a mode from a foreign settings file has no worker

    // A fresh run is neither paused nor aborted, whatever a race with the last
    // run's end left behind.
    pause_code = 0;
    SetEvent(go_event);

    shown_path.set({});  // nothing of the last run on the status line
    run_status = 1;
    SetTimer(window, 1, 100, nullptr);
    progress_percent = 0;
    twin_count = 0;
    HANDLE thread = make_worker_thread(mode == 0 ? compare_files : search_worker, window);
    if (!thread) {
        // No worker will ever clear the status.
        back_to_idle(window);
        return 1;
    }
    CloseHandle(thread);
    return 1;
}

}  // namespace orvkit
