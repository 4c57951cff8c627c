// Starting the one worker thread of a run.
#pragma once
#include <windows.h>

#include "core/test_seams.h"

namespace orvkit {

// Starts the worker for the current search_mode: the two-file comparison in mode 0,
// the search worker in modes 1..3, each with `window` as its parameter, and the
// refresh timer. When no worker can be started (unknown mode, thread creation
// failed) the window stays idle. Returns 1.
int start_worker(HWND window);

// Makes a worker thread with room for a deep directory walk; null on failure.
HANDLE create_worker_thread(LPTHREAD_START_ROUTINE routine, HWND window);

}  // namespace orvkit
