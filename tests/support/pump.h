// Message pumping with a bounded wait, so a test that waits for the window or a
// worker fails instead of hanging.
#pragma once
#include <windows.h>

#include <functional>

namespace test_support {

// Dispatches this thread's messages until `done` returns true or `timeout_ms` has
// passed; returns whether `done` became true.
inline bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 20000) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!done()) {
        if (GetTickCount64() > deadline) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

// Dispatches whatever is queued now and what arrives within `ms`.
inline void pump_for(DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    pump_until([&] { return GetTickCount64() > deadline; }, ms + 1000);
}

}  // namespace test_support
