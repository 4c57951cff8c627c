// The options a run reads, copied once when it starts: whatever the menu does while
// the run goes on ("On Top", "Transparent", the dialogs it opens), the run keeps
// behaving as it began.
#pragma once
#include <cstdint>

#include "core/delete_queue.h"

namespace orvkit {

class ostrand_state;

struct run_options {
    uint32_t match_percentage = 100;
    bool use_hash = true;
    bool check_zero_length = true;
    bool remove_empty_dirs = true;
    removal_options removal;        // delete mode, move folder, read-only override
    bool remove_column_a = false;   // remove each twin's file A as it is found
    bool remove_column_b = false;   // ... or its file B
};

// A copy of the options as they stand now. Taken by a worker at its start, while
// run_status already says busy, so no menu command that changes them can run.
run_options take_run_options(const ostrand_state& state);

}  // namespace orvkit
