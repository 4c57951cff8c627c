#include "compare/run_gate.h"

#include <windows.h>

#include "core/globals.h"
#include "core/run_protocol.h"

namespace orvkit {

namespace {

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

// The pause's age counts from the click, not from when a thread first meets it: a
// thread that was busy or waiting on another when the pause came (the checksum
// pass's reading threads and the pass itself) must not start a grace of its own.
bool hold_when_pause_settles() {
    const int32_t code = pause_code.load(std::memory_order_relaxed);
    if (code == pause_running) return true;
    if (code == pause_aborting) return false;
    if (GetTickCount64() - pause_began_at.load() < pause_grace_ms) return true;
    wait_while_paused();
    return !search_aborting();
}

const run_gate& window_run_gate() {
    static const run_gate gate{hold_while_paused, hold_when_pause_settles, search_aborting,
                               [](int32_t percent) { progress_percent = percent; }};
    return gate;
}

}  // namespace orvkit
