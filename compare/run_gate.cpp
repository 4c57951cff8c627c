#include "compare/run_gate.h"

#include <windows.h>

#include "core/globals.h"
#include "core/run_protocol.h"

namespace orvkit {

namespace {

// When this thread first saw the current pause; 0 while not paused.
thread_local ULONGLONG pause_seen_at = 0;

// Waits while paused. The code is read again after every wake-up: a Resume quickly
// followed by another Pause must hold again.
void wait_while_paused() {
    while (pause_code.load() == pause_paused) WaitForSingleObject(go_event.get(), INFINITE);
}

}  // namespace

bool search_aborting() { return pause_code.load() == pause_aborting; }

bool hold_while_paused() {
    if (pause_code.load(std::memory_order_relaxed) != pause_running) wait_while_paused();
    return !search_aborting();
}

bool hold_when_pause_settles() {
    const int32_t code = pause_code.load(std::memory_order_relaxed);
    if (code == pause_running) {
        pause_seen_at = 0;
        return true;
    }
    if (code == pause_aborting) return false;
    const ULONGLONG now = GetTickCount64();
    if (pause_seen_at == 0) pause_seen_at = now;
    if (now - pause_seen_at < pause_grace_ms) return true;
    wait_while_paused();
    pause_seen_at = 0;
    return !search_aborting();
}

const run_gate& window_run_gate() {
    static const run_gate gate{hold_while_paused, hold_when_pause_settles, search_aborting,
                               [](int32_t percent) { progress_percent = percent; }};
    return gate;
}

}  // namespace orvkit
