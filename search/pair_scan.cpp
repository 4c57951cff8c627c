#include "search/pair_scan.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <vector>

namespace orvkit {

namespace {

constexpr uint32_t no_record = UINT32_MAX;

// For every record, the next record of its (size, checksum[, content class]) group
// in list order, or no_record. Sorting the indexes themselves, not copies of the
// keys, keeps the scan's own memory at eight bytes a record.
std::vector<uint32_t> next_in_group(const orvFileList& list, bool by_content) {
    const std::size_t n = list.records.size();
    const auto key = [&](uint32_t i) {
        const file_record& record = *list.records[i];
        return std::tuple(record.size, record.checksum, by_content ? record.content_class : 0u);
    };
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t x, uint32_t y) {
        const auto kx = key(x), ky = key(y);
        return kx != ky ? kx < ky : x < y;
    });
    std::vector<uint32_t> next(n, no_record);
    for (std::size_t i = 0; i + 1 < n; ++i)
        if (key(order[i]) == key(order[i + 1])) next[order[i]] = order[i + 1];
    return next;
}

}  // namespace

// A pruned record stays in place, flagged, until the scan ends: indexes never shift
// and no record is erased from the middle of a list of a million. The last record
// still in the list gets no pass, as it has no later record to pair with.
uint32_t scan_candidate_pairs(orvFileList& list, const pair_scan_hooks& hooks, bool by_content) {
    const std::vector<uint32_t> next = next_in_group(list, by_content);
    const std::size_t n = list.records.size();
    uint32_t pruned_count = 0;
    std::size_t live_after = n;  // records not pruned from a on; after a once a is counted out
    for (std::size_t a = 0; a < n; ++a) {
        if (list.records[a]->pruned) continue;
        if (--live_after == 0) break;
        hooks.begin_pass(a);
        for (uint32_t b = next[a]; b != no_record; b = next[b]) {
            file_record& record_b = *list.records[b];
            if (record_b.pruned) continue;
            hooks.candidate(a, b);
            if (record_b.fail_count > 0) {
                if (hooks.prune) hooks.prune(record_b);
                record_b.pruned = true;
                --live_after;
                ++pruned_count;
            }
            if (hooks.stop_requested()) break;
        }
        hooks.end_pass(a);
        if (hooks.stop_requested()) break;
    }
    if (pruned_count) list.drop_pruned();
    return pruned_count;
}

}  // namespace orvkit
