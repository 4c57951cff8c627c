#include "search/group_compare.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "compare/byte_runs.h"
#include "compare/content_classes.h"
#include "compare/pair_compare.h"
#include "compare/compare_math.h"
#include "base/file_reading.h"
#include "base/long_path.h"
#include "core/file_identity.h"

namespace orvkit {

namespace {

std::atomic<uint64_t> all_opens{0};
std::atomic<uint64_t> all_bytes{0};

struct member_key {
    uint64_t size;
    uint32_t checksum;
    const file_record* record;
};

// Differing bytes among the first `length` of a and b, counted as the streaming
// comparison counts them: it may stop once the count can no longer make a twin
// (the first difference at 100 %, the limit below), and then the count is partial
// but still below the match percentage, as there.
uint64_t count_differing(const uint8_t* a, const uint8_t* b, std::size_t length, bool stop_at_first, uint64_t limit) {
    uint64_t differing = 0;
    std::size_t i = 0;
    while (i < length) {
        i = find_difference(a, b, i, length);
        if (i == length) break;
        if (stop_at_first) return differing + 1;
        const std::size_t end = find_equal(a, b, i, length);
        differing += end - i;
        i = end;
        if (differing >= limit) break;
    }
    return differing;
}

}  // namespace

uint64_t group_compare_opens() { return all_opens.load(); }

uint64_t group_compare_bytes() { return all_bytes.load(); }

group_compare::group_compare(const orvFileList& list, const pair_settings& settings, std::size_t budget,
                             std::size_t file_limit)
    : settings_(settings), budget_(budget), file_limit_(file_limit) {
    std::vector<member_key> keys;
    keys.reserve(list.records.size());
    for (const auto& record : list.records) keys.push_back({record->size, record->checksum, record});
    std::sort(keys.begin(), keys.end(), [](const member_key& x, const member_key& y) {
        return x.size != y.size ? x.size < y.size : x.checksum < y.checksum;
    });
    for (std::size_t first = 0; first < keys.size();) {
        std::size_t end = first + 1;
        while (end < keys.size() && keys[end].size == keys[first].size && keys[end].checksum == keys[first].checksum)
            ++end;
        if (end - first >= 2) {
            group members;
            for (std::size_t i = first; i < end; ++i) {
                members.members.push_back(keys[i].record);
                group_of_[keys[i].record] = static_cast<uint32_t>(groups_.size());
            }
            members.remaining = static_cast<uint32_t>(end - first);
            members.size = end - first;
            groups_.push_back(std::move(members));
        }
        first = end;
    }
}

group_compare::held_file& group_compare::load(file_record& record) {
    held_file& held = held_files_[&record];
    if (held.loaded) return held;
    held.loaded = true;
    const auto member = group_of_.find(&record);
    const bool small_group = member == group_of_.end() || groups_[member->second].size < smallest_held_group;
    if (small_group || record.size > file_limit_ || held_ + record.size > budget_) {
        held.streamed = true;
        return held;
    }
    // Opened as compare_pair_files opens its files, so the same files fail.
    unique_handle file = open_for_reading(record.path(), FILE_FLAG_SEQUENTIAL_SCAN);
    ++opens_;
    ++all_opens;
    if (!file) return held;
    held.opened = true;
    if (!record.identity.index_known) read_file_index(file.get(), record.identity);
    held.size = 0;
    size_of_open_file(file.get(), held.size);
    // Grown past the budget since the walk: read by compare_pair_files instead.
    if (held.size > file_limit_ || held_ + held.size > budget_) {
        held.streamed = true;
        return held;
    }
    held.bytes.resize(static_cast<std::size_t>(held.size));
    const std::size_t got = read_whole(file.get(), held.bytes.data(), held.bytes.size());
    all_bytes += got;
    held.bytes.resize(got);  // a file that shrank or could not be read: the rest differs
    held_ += static_cast<std::size_t>(held.size);
    peak_ = std::max(peak_, held_);
    return held;
}

void group_compare::prepare(file_record& a, file_record& b) {
    if (load(a).opened) load(b);
}

bool group_compare::compare(const file_record& a, const file_record& b, pair_outcome& result) const {
    const auto held_a = held_files_.find(&a);
    if (held_a == held_files_.end() || held_a->second.streamed) return false;
    const held_file& x = held_a->second;
    result = {};
    if (!x.opened) {
        result.outcome = compare_invalid_a;
        return true;
    }
    const auto held_b = held_files_.find(&b);
    if (held_b == held_files_.end() || held_b->second.streamed) return false;
    const held_file& y = held_b->second;
    if (!y.opened) {
        result.outcome = compare_invalid_b;
        return true;
    }
    if (x.size == 0 && y.size == 0 && settings_.check_zero_length) {
        result.outcome = compare_both_empty;
        result.percent = 100;
        return true;
    }
    result.outcome = compare_finished;
    // A file changed since it was indexed is no twin of anything.
    if (x.size != y.size || x.size == 0) return true;
    const bool stop_at_first = settings_.stop_at_first && settings_.match_percentage >= 100;
    const uint64_t limit = stop_at_first ? UINT64_MAX : differing_limit(x.size, settings_.match_percentage);
    const std::size_t readable = std::min(x.bytes.size(), y.bytes.size());
    uint64_t differing = count_differing(x.bytes.data(), y.bytes.data(), readable, stop_at_first, limit);
    // What was not read cannot be called equal: every byte past it differs.
    if (!(stop_at_first && differing > 0) && differing < limit) differing += x.size - readable;
    result.percent = similarity_percent(x.size, differing);
    return true;
}

void group_compare::release(const file_record* record) {
    const auto held = held_files_.find(record);
    if (held == held_files_.end()) return;
    if (held->second.opened && !held->second.streamed) held_ -= static_cast<std::size_t>(held->second.size);
    held_files_.erase(held);
}

void group_compare::forget_content(const file_record* record) {
    const auto held = held_files_.find(record);
    if (held == held_files_.end() || held->second.streamed) return;
    if (held->second.opened) held_ -= static_cast<std::size_t>(held->second.size);
    held->second.opened = false;
    held->second.size = 0;
    std::vector<uint8_t>().swap(held->second.bytes);
}

// Records of one file have one size and checksum, so they share a group.
void group_compare::forget_file(const file_record& record) {
    forget_content(&record);
    const auto found = group_of_.find(&record);
    if (found == group_of_.end()) return;
    for (const file_record* member : groups_[found->second].members)
        if (member != &record && held_files_.count(member) && names_removed_file(*member, record)) forget_content(member);
}

void group_compare::done_with(const file_record& record) {
    release(&record);
    const auto found = group_of_.find(&record);
    if (found == group_of_.end()) return;
    group& members = groups_[found->second];
    group_of_.erase(found);
    // A pruned record is freed: its group must not name it afterwards.
    std::erase(members.members, &record);
    if (members.remaining > 0) --members.remaining;
    if (members.remaining <= 1) {
        for (const file_record* member : members.members) release(member);
        members.members.clear();
    }
}

}  // namespace orvkit
