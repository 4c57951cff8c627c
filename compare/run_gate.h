// What the engine's loops ask of the run they work for: whether to go on, holding
// while paused, and where their progress goes. The window's run answers from
// pause_code and go_event and shows the progress in progress_percent.
//
// pause_code is polled (an atomic load) and go_event waited on only while paused:
// a wait costs a system call (a wineserver round trip on Wine), a poll nothing, so
// the checks can sit before every pair, file and piece.
#pragma once
#include <cstdint>

namespace orvkit {

// True once an abort was asked for.
bool search_aborting();

// The pair scan: holds at once while paused; false when the run should end.
bool hold_while_paused();

// The walk and the checksums: holds once the pause is older than pause_grace_ms,
// so a pause clicked just after Start lets a small index complete and the run
// waits at its first comparison, while a long walk still stops within 0.1 s.
// False when the run should end.
bool hold_when_pause_settles();

constexpr unsigned pause_grace_ms = 60;

// The timings by name: `hold` at once (before every pair, inside a comparison),
// `hold_after_grace` once the pause is pause_grace_ms old (the walk, the checksums).
struct run_gate {
    bool (*hold)();
    bool (*hold_after_grace)();
    bool (*aborting)();
    void (*progress)(int32_t percent);
};

// The run the window started and pauses.
const run_gate& window_run_gate();

}  // namespace orvkit
