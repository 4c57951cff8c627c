#include "search/pair_scan.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <vector>

namespace orvkit {

namespace {

constexpr uint32_t no_record = UINT32_MAX;

struct group_key {
    uint64_t size;
    uint32_t checksum;
    uint32_t content_class;
    uint32_t index;
    bool operator<(const group_key& other) const {
        return std::tie(size, checksum, content_class, index) <
               std::tie(other.size, other.checksum, other.content_class, other.index);
    }
    bool same_group(const group_key& other) const {
        return size == other.size && checksum == other.checksum && content_class == other.content_class;
    }
};

// For every record (by its index at the start of the scan), the next record of its
// (size, checksum[, content class]) group in list order, or no_record.
std::vector<uint32_t> next_in_group(const orvFileList& list, bool by_content) {
    const std::size_t n = list.records.size();
    std::vector<group_key> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
        const file_record& record = *list.records[i];
        keys[i] = {record.size, record.checksum, by_content ? record.content_class : 0, static_cast<uint32_t>(i)};
    }
    std::sort(keys.begin(), keys.end());
    std::vector<uint32_t> next(n, no_record);
    for (std::size_t i = 0; i + 1 < n; ++i)
        if (keys[i].same_group(keys[i + 1])) next[keys[i].index] = keys[i + 1].index;
    return next;
}

}  // namespace

uint32_t scan_candidate_pairs(orvFileList& list, const pair_scan_hooks& hooks, bool by_content) {
    const std::vector<uint32_t> next = next_in_group(list, by_content);
    // original[i] is the scan-start index of the record now at i; it stays sorted,
    // since pruning only erases, so a record's current place is a binary search.
    std::vector<uint32_t> original(list.records.size());
    std::iota(original.begin(), original.end(), 0u);
    std::vector<bool> pruned(list.records.size(), false);
    uint32_t pruned_count = 0;

    for (std::size_t a = 0; a + 1 < list.records.size(); ++a) {
        hooks.begin_pass(a);
        for (uint32_t id = next[original[a]]; id != no_record; id = next[id]) {
            if (pruned[id]) continue;
            const std::size_t b =
                static_cast<std::size_t>(std::lower_bound(original.begin() + a + 1, original.end(), id) - original.begin());
            hooks.candidate(a, b);
            if (list.records[b]->fail_count > 0) {
                if (hooks.prune) hooks.prune(*list.records[b]);
                list.remove_record(b);
                original.erase(original.begin() + static_cast<std::ptrdiff_t>(b));
                pruned[id] = true;
                ++pruned_count;
            }
            if (hooks.stop_requested()) break;
        }
        hooks.end_pass(a);
        if (hooks.stop_requested()) break;
    }
    return pruned_count;
}

}  // namespace orvkit
