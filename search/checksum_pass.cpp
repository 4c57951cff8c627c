#include "search/checksum_pass.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <vector>

#include "base/file_reading.h"
#include "base/owner.h"
#include "base/published_text.h"
#include "core/file_identity.h"
#include "core/globals.h"
#include "search/checksum.h"
#include "search/pause_gate.h"

namespace orvkit {

namespace {

// Pieces of 1 MiB (a multiple of 4, so the sums equal those of any other whole-word
// split): a pause or an abort is seen within a millisecond or so of reading.
constexpr std::size_t piece_bytes = 1 << 20;

// Written by the worker, read by the painting.
std::atomic<bool> pass_running{false};
std::atomic<uint64_t> pass_done{0};
std::atomic<uint64_t> pass_total{0};
published_text pass_file;
std::atomic<uint64_t> pass_opens{0};
std::atomic<uint64_t> pass_bytes{0};

bool keep_summing(const orvFileList& list) {
    return list.status.load() != orvFileList::stop_requested && hold_when_pause_settles();
}

// The checksum of the whole file (search/checksum.h), read piece by piece with the run's checks in
// between; a small file is read whole into `kept` when given. False when stopped
// before the end.
bool sum_file(file_record& record, orvFileList& list, uint8_t* buffer, preloaded_files* keep) {
    unique_handle file = open_for_reading(record.path, FILE_FLAG_SEQUENTIAL_SCAN);
    ++pass_opens;
    record.checksum = 0;
    if (!file) return true;
    read_file_index(file.get(), record.identity);
    DWORD high = 0;
    // As in the walk's sum: the count is the low half of the size.
    DWORD remaining = GetFileSize(file.get(), &high);
    checksum_accumulator sum;
    if (keep && high == 0 && remaining <= preloaded_files::file_limit_bytes &&
        keep->bytes + remaining <= preloaded_files::budget_bytes) {
        preloaded_file& kept = keep->files[&record];
        kept.size = remaining;
        kept.bytes.resize(remaining);
        kept.bytes.resize(read_whole(file.get(), kept.bytes.data(), remaining));
        keep->bytes += remaining;
        pass_bytes += kept.bytes.size();
        sum.add_block(kept.bytes.data(), kept.bytes.size());
        record.checksum = sum.value();
        return true;
    }
    while (remaining > 0) {
        if (!keep_summing(list)) return false;
        const DWORD block = static_cast<DWORD>(std::min<std::size_t>(remaining, piece_bytes));
        DWORD delivered = 0;
        if (!ReadFile(file.get(), buffer, block, &delivered, nullptr) || delivered == 0) break;
        sum.add_block(buffer, delivered);
        pass_bytes += delivered;
        remaining -= block;
    }
    record.checksum = sum.value();
    return true;
}

// Lets go of the kept contents whose checksum no other member of their size
// group (members[first, end)) has: they cannot pair.
void drop_unpaired(const orvFileList& list, const std::vector<uint32_t>& members, std::size_t first, std::size_t end,
                   preloaded_files& keep) {
    std::vector<uint32_t> sums;
    for (std::size_t i = first; i < end; ++i) sums.push_back(list.records[members[i]]->checksum);
    std::sort(sums.begin(), sums.end());
    for (std::size_t i = first; i < end; ++i) {
        const file_record* record = list.records[members[i]].get();
        const auto kept = keep.files.find(record);
        if (kept == keep.files.end()) continue;
        const auto same = std::equal_range(sums.begin(), sums.end(), record->checksum);
        if (same.second - same.first >= 2) continue;
        keep.bytes -= static_cast<std::size_t>(kept->second.size);
        keep.files.erase(kept);
    }
}

// The records of a non-zero size that another record shares, by size, each size
// in list order.
std::vector<uint32_t> shared_sizes(const orvFileList& list) {
    std::vector<std::pair<uint64_t, uint32_t>> keys;
    keys.reserve(list.records.size());
    for (std::size_t i = 0; i < list.records.size(); ++i)
        if (list.records[i]->size > 0) keys.push_back({list.records[i]->size, static_cast<uint32_t>(i)});
    std::sort(keys.begin(), keys.end());
    std::vector<uint32_t> members;
    for (std::size_t first = 0; first < keys.size();) {
        std::size_t end = first + 1;
        while (end < keys.size() && keys[end].first == keys[first].first) ++end;
        if (end - first >= 2)
            for (std::size_t i = first; i < end; ++i) members.push_back(keys[i].second);
        first = end;
    }
    return members;
}

}  // namespace

bool checksum_shared_sizes(orvFileList& list, preloaded_files* keep) {
    const std::vector<uint32_t> members = shared_sizes(list);
    const uint64_t total = members.size();
    std::unique_ptr<uint8_t[]> own;
    uint8_t* buffer = list.read_buffer_bytes >= piece_bytes ? list.read_buffer.get() : nullptr;
    if (!buffer) {
        own.reset(new (std::nothrow) uint8_t[piece_bytes]);
        buffer = own.get();
    }
    pass_done = 0;
    pass_total = total;
    pass_file.set({});
    pass_running = true;
    bool complete = buffer != nullptr;
    for (std::size_t first = 0; complete && first < members.size();) {
        const uint64_t size = list.records[members[first]]->size;
        std::size_t end = first;
        for (; complete && end < members.size() && list.records[members[end]]->size == size; ++end) {
            file_record& record = *list.records[members[end]];
            pass_file.set(record.path);
            complete = keep_summing(list) && sum_file(record, list, buffer, keep);
            ++pass_done;
            if (total) progress_percent = static_cast<int32_t>(100 * pass_done.load() / total);
        }
        if (keep) drop_unpaired(list, members, first, end, *keep);
        first = end;
    }
    if (!complete) {
        for (const auto& record : list.records) record->checksum = 0;
        if (keep) *keep = {};
    }
    pass_running = false;
    progress_percent = 0;
    return complete;
}

std::wstring checksum_status_line() {
    if (!pass_running.load()) return {};
    return L"Checksums of " + std::to_wstring(pass_done.load()) + L" of " + std::to_wstring(pass_total.load()) +
           L" files of shared sizes. Current file: " + pass_file.get();
}

uint64_t checksum_pass_opens() { return pass_opens.load(); }

uint64_t checksum_pass_bytes() { return pass_bytes.load(); }

}  // namespace orvkit
