// Where the last search's time went, phase by phase: the benchmarks read it to
// say what a user waits for. The search worker adds to it; a new search starts it
// at zero.
#pragma once
#include <windows.h>

#include <cstddef>

namespace orvkit {

enum class search_phase {
    blocks,      // taking the comparison blocks, clearing the last results
    walk,        // listing the folders
    last_list,   // reading the last index for checksums it can lend
    checksums,   // reading the files of shared sizes
    opening,     // of which: opening them
    list_write,  // writing the new index
    pairs,       // the pair scan, rows included
    rows,        // of which: putting rows on the list
    count
};

void reset_search_phases();
double search_phase_seconds(search_phase phase);

// Adds the time from its making to its end to `phase`.
class phase_timer {
public:
    explicit phase_timer(search_phase phase);
    ~phase_timer();
    phase_timer(const phase_timer&) = delete;
    phase_timer& operator=(const phase_timer&) = delete;

private:
    search_phase phase_;
    LARGE_INTEGER start_;
};

}  // namespace orvkit
