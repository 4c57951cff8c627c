// Pausing, resuming and aborting the running worker, the refresh and close timers,
// and closing the window.
#pragma once
#include <windows.h>

namespace orvkit {

// Asks the running worker to stop: wakes it if paused, run_status 2, pause_code 10
// and the search list's stop flag. Returns false (and changes nothing but the
// event) when no worker was running any more.
bool abort_run();

// Pause when running, Resume when paused; nothing while an abort is pending.
void toggle_pause();

// WM_TIMER: timer 1 refreshes the progress while a worker runs (its first tick makes
// the taskbar object) and stops itself at the run's end; timer 2 destroys the window
// once a confirmed quit's worker ended.
LRESULT on_timer(HWND window, WPARAM timer);

// WM_CLOSE: idle, saves the settings and destroys the window; busy, asks first
// and on OK aborts the run and leaves the rest to timer 2.
LRESULT on_close(HWND window);

}  // namespace orvkit
