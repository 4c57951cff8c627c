#include "app/run_control.h"

#include "app/settings_file.h"
#include "app/window_geometry.h"
#include "core/globals.h"
#include "core/state.h"
#include "ui/virtual_list.h"

namespace orvkit {

bool abort_run() {
    SetEvent(go_event.get());
    // One compare-and-exchange from the non-zero value seen: an abort racing with
    // the worker's own end never leaves run_status at 2 with nobody to clear it.
    int32_t status = run_status;
    while (status != status_idle && !run_status.compare_exchange_weak(status, status_abort)) {
    }
    if (status == status_idle) return false;
    pause_code = pause_aborting;
    if (const std::shared_ptr<orvFileList> list = app_state->scan_list.load())
        list->status = pause_aborting;
    return true;
}

void toggle_pause() {
    if (pause_code == pause_paused) {
        pause_code = pause_running;
        SetEvent(go_event.get());
    } else if (pause_code == pause_running) {
        // The event first: a worker that sees the pause code then always finds the
        // event reset and holds, instead of passing a wait that is still open.
        ResetEvent(go_event.get());
        pause_began_at = GetTickCount64();
        pause_code = pause_paused;
    }
}

LRESULT on_timer(HWND window, WPARAM timer) {
    const uint32_t w = band_width();
    if (timer == refresh_timer) {
        list_sync_view();  // rows written by the worker since the last tick
        if (worker_running(run_status)) {
            // The taskbar object is made on a run's first tick, not at start-up or
            // in the paint: a program that never runs a search never starts COM.
            app_state->taskbar.ensure();
            if (pause_code == pause_running) {
                const RECT progress = scaled_rect(progress_band_rect(w));
                InvalidateRect(window, &progress, TRUE);
            }
        } else {
            const RECT band = scaled_rect(top_band_rect(w));
            InvalidateRect(window, &band, TRUE);
            KillTimer(window, refresh_timer);
        }
    } else if (timer == close_timer && run_status == status_idle) {
        KillTimer(window, close_timer);
        DestroyWindow(window);
    }
    return 1;
}

LRESULT on_close(HWND window) {
    if (run_status != status_idle) {
        if (MessageBoxW(window, L"Ostrand is busy; abandon and quit?", L"Confirm", MB_OKCANCEL) != IDOK) return 0;
        if (abort_run()) {
            SetTimer(window, close_timer, close_timer_ms, nullptr);
            return 0;
        }
        // The worker ended while the question was open: close as when idle.
    }
    write_settings();
    DestroyWindow(window);
    return 0;
}

}  // namespace orvkit
