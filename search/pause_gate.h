// Where the search worker holds while paused and learns that it should stop.
//
// pause_code is polled (an atomic load) and go_event waited on only while paused:
// a wait costs a system call (a wineserver round trip on Wine), a poll nothing, so
// the checks can sit before every pair, file and piece.
#pragma once

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

}  // namespace orvkit
