// Visits the candidate pairs of a file list: for each record a, in list order, the
// later records b of equal size and checksum, in list order. A record whose
// fail_count the visit raised is pruned: no later pass meets it, and it leaves the
// list when the scan ends (indexes and pointers into the list hold until then).
//
// Only records of one (size, checksum) group can pair, so the scan walks the groups
// rather than every pair: a list of unique sizes costs one pass per record, not a
// quadratic number of pair tests. Pairs, their order, the passes and the pruning are
// those of the plain double loop over all pairs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/file_list.h"

namespace orvkit {

struct pair_scan_hooks {
    std::function<void(std::size_t a)> begin_pass;               // before the pairs of record a
    std::function<void(std::size_t a, std::size_t b)> candidate;  // indexes into list.records
    std::function<void(std::size_t a)> end_pass;                 // after them
    std::function<bool()> stop_requested;                        // checked after each pair and pass
    // Just before record b leaves the list: whoever keeps a pointer to it lets go.
    std::function<void(const file_record& pruned)> prune;
};

// With `by_content`, records of known, different content classes never pair either.
// Returns the number of records pruned.
uint32_t scan_candidate_pairs(orvFileList& list, const pair_scan_hooks& hooks, bool by_content = false);

}  // namespace orvkit
