#include "search/checksum_pass.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <vector>

#include "app/globals.h"
#include "app/published_text.h"
#include "app/win_handles.h"
#include "search/checksum.h"
#include "search/file_identity.h"
#include "search/long_path.h"
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

// The sum content_checksum gives, read piece by piece with the run's checks in
// between. False when stopped before the end.
bool sum_file(file_record& record, orvFileList& list, uint8_t* buffer) {
    unique_handle file(CreateFileW(long_path(record.path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    ++pass_opens;
    record.checksum = 0;
    if (!file) return true;
    read_file_index(file.get(), record.identity);
    // As in the walk's sum: the count is the low half of the size.
    DWORD remaining = GetFileSize(file.get(), nullptr);
    checksum_accumulator sum;
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

// Marks the records whose non-zero size another record shares.
std::vector<bool> shared_sizes(const orvFileList& list, uint64_t& count) {
    std::vector<uint64_t> sizes;
    sizes.reserve(list.records.size());
    for (const auto& record : list.records) sizes.push_back(record->size);
    std::sort(sizes.begin(), sizes.end());
    std::vector<bool> shared(list.records.size(), false);
    count = 0;
    for (std::size_t i = 0; i < list.records.size(); ++i) {
        const uint64_t size = list.records[i]->size;
        if (size == 0) continue;
        const auto range = std::equal_range(sizes.begin(), sizes.end(), size);
        if (range.second - range.first >= 2) {
            shared[i] = true;
            ++count;
        }
    }
    return shared;
}

}  // namespace

bool checksum_shared_sizes(orvFileList& list) {
    uint64_t total = 0;
    const std::vector<bool> shared = shared_sizes(list, total);
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
    for (std::size_t i = 0; complete && i < list.records.size(); ++i) {
        if (!shared[i]) continue;
        file_record& record = *list.records[i];
        pass_file.set(record.path);
        complete = keep_summing(list) && sum_file(record, list, buffer);
        ++pass_done;
        if (total) progress_percent = static_cast<int32_t>(100 * pass_done.load() / total);
    }
    if (!complete)
        for (const auto& record : list.records) record->checksum = 0;
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
