// Stand-ins for the worker thread start, so window tests see which worker would
// start without running one, and can play the worker's part themselves.
#pragma once
#include <windows.h>

#include <vector>

#include "app/globals.h"
#include "app/worker_start.h"

namespace test_support {

struct worker_start_record {
    LPTHREAD_START_ROUTINE routine;
    HWND window;
};

inline std::vector<worker_start_record> worker_starts;

// Records the start and hands back a handle that is not a thread (start_worker
// closes it at once); the "worker" then runs until the test ends it.
inline HANDLE record_worker_start(LPTHREAD_START_ROUTINE routine, HWND window) {
    worker_starts.push_back({routine, window});
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

inline HANDLE fail_worker_start(LPTHREAD_START_ROUTINE routine, HWND window) {
    worker_starts.push_back({routine, window});
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// What a worker does at its end.
inline void end_fake_run() {
    run_status = 0;
    pause_code = 0;
    progress_percent = 101;
}

}  // namespace test_support
