#include "compare/pair_compare.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "compare/byte_runs.h"
#include "compare/compare_math.h"
#include "base/file_reading.h"
#include "base/owner.h"
#include "core/globals.h"

namespace orvkit {

namespace {

constexpr SIZE_T buffer_bytes = compare_block_bytes;
constexpr uint64_t block_bytes = compare_span_bytes;
// Each block is read and compared in pieces small enough to stay in the processor's
// cache; the counts depend only on the block boundaries, not on the pieces.
constexpr std::size_t piece_bytes = 256 * 1024;
// A pause takes hold, and an abort ends the scan, within this many compared bytes.
// Waiting on go_event per byte would cost a system call each (a wineserver round
// trip on Wine), so the cheap pause_code is polled and the event waited on only then.
constexpr std::size_t poll_bytes = 64 * 1024;

// One comparison's own state: `status` stays status_running while it goes on and
// then holds the outcome.
struct comparison {
    int32_t status = status_running;
    uint64_t size_a = 0;
    uint64_t size_b = 0;
    bool stop_at_first = false;
    bool candidate_pair = false;    // a search's pair: it need not be read past what decides it
    uint32_t match_percentage = 0;  // candidate pairs: the least percentage that is listed
    uint64_t limit = UINT64_MAX;   // the differing count at which the scan may stop
    const difference_listener* rows = nullptr;  // File mode only
    const run_gate* gate = nullptr;
    run_counter counter;
};

// 0 when the size cannot be had.
uint64_t size_of(HANDLE file) {
    uint64_t size = 0;
    size_of_open_file(file, size);
    return size;
}

std::atomic<uint64_t> bytes_read{0};  // for benchmarks

DWORD read_into(HANDLE file, uint8_t* target, std::size_t length) {
    DWORD got = 0;
    if (!ReadFile(file, target, static_cast<DWORD>(length), &got, nullptr)) return 0;
    bytes_read.fetch_add(got, std::memory_order_relaxed);
    return got;
}

// Compares one block of `length` bytes lying at `offset`; false when the comparison
// ends inside it (first difference, enough differences, short read, abort). Each
// piece is read to the start of the blocks, where the processor's cache still holds
// it from the previous piece, and compared at once.
bool compare_block(HANDLE a, HANDLE b, uint64_t offset, std::size_t length, comparison& c) {
    c.counter.start_block();
    closed_run run;
    std::size_t position = 0;
    while (position < length) {
        const std::size_t piece_start = position;
        const std::size_t piece_end = std::min(length, position + piece_bytes);
        const DWORD got_a = read_into(a, compare_buffer_a, piece_end - piece_start);
        const DWORD got_b = read_into(b, compare_buffer_b, piece_end - piece_start);
        const std::size_t valid_end = piece_start + std::min(got_a, got_b);
        while (position < valid_end) {
            if (!c.gate->hold()) {
                c.status = compare_finished;
                return false;
            }
            const std::size_t chunk_end = std::min(valid_end, position + poll_bytes);
            for (;;) {
                const scan_stop stop = c.counter.scan(compare_buffer_a, compare_buffer_b, piece_start, position,
                                                      chunk_end, c.stop_at_first, run);
                if (stop == scan_stop::end_of_span) break;
                if (stop == scan_stop::first_difference) {
                    c.status = compare_finished;
                    return false;
                }
                if (c.rows) c.rows->difference(offset + run.first, run.length);
            }
            if (c.counter.total() >= c.limit) {
                c.status = compare_finished;
                return false;
            }
        }
        if (valid_end < piece_end) {
            // A file shrank or could not be read: what was not read cannot be called
            // equal, so every byte from here to the end of the shorter file differs.
            c.counter.open_run += std::min(c.size_a, c.size_b) - (offset + valid_end);
            c.status = compare_finished;
            return false;
        }
    }
    return true;
}

void compare_contents(HANDLE a, HANDLE b, comparison& c) {
    uint64_t remaining = std::min(c.size_a, c.size_b);
    uint64_t offset = 0;
    while (c.status == status_running) {
        const uint64_t length = std::min(remaining, block_bytes);
        if (length == 0)
            c.status = compare_finished;
        else
            compare_block(a, b, offset, static_cast<std::size_t>(length), c);
        remaining -= length;
        offset += length;
        if (c.rows && c.size_b > 0) c.gate->progress(compare_progress(c.size_b, remaining));
    }
}

// Steps shared by both roles: open, size up, compare.
whole_comparison run_comparison(const std::wstring& first, const std::wstring& second, comparison& c,
                                bool check_zero_length) {
    whole_comparison result;
    unique_handle a = open_for_reading(first);
    if (!a) {
        result.status = compare_invalid_a;
        return result;
    }
    unique_handle b = open_for_reading(second);
    if (!b) {
        result.status = compare_invalid_b;
        return result;
    }
    c.size_a = result.size_a = size_of(a.get());
    c.size_b = result.size_b = size_of(b.get());
    if (c.size_a == 0 && c.size_b == 0 && check_zero_length) {
        result.status = compare_both_empty;
        return result;
    }
    if (c.candidate_pair) {
        if (c.size_a != c.size_b) {
            // Pairs are made of files of equal size; a file that changed since it
            // was indexed is no twin of anything.
            result.status = compare_finished;
            return result;
        }
        // Stopping at the first difference scores the pair 99 (90 for 10 bytes),
        // which a match percentage below 100 would take for a twin: two different
        // files that merely share a checksum would be listed and could be removed.
        // Only at 100, where any difference rules a pair out, is the shortcut exact.
        if (c.match_percentage < 100) c.stop_at_first = false;
        // A pair below the match percentage is never shown: once the differences
        // rule it out the rest need not be read. The percentage only falls as more
        // bytes differ, so the partial count stays below the match percentage.
        if (!c.stop_at_first) c.limit = differing_limit(c.size_a, c.match_percentage);
    }
    if (c.rows) c.rows->start();
    compare_contents(a.get(), b.get(), c);
    c.counter.start_block();  // a run still open at the end counts, without a row
    result.differing = c.counter.differing;
    result.status = c.status;
    return result;
}

}  // namespace

pair_outcome compare_pair_files(const std::wstring& a, const std::wstring& b, const pair_settings& settings,
                                const run_gate& gate) {
    if ((!compare_buffer_a || !compare_buffer_b) && reserve_compare_buffers() != 0) return {0, compare_invalid_a};
    comparison c;
    c.gate = &gate;
    c.candidate_pair = true;
    c.stop_at_first = settings.stop_at_first;
    c.match_percentage = settings.match_percentage;
    const whole_comparison result = run_comparison(a, b, c, settings.check_zero_length);
    pair_outcome compared{0, result.status};
    if (result.status == compare_both_empty) {
        compared.percent = 100;
    } else if (result.status == compare_finished && result.size_a != 0 && result.size_a == result.size_b &&
               !gate.aborting()) {
        compared.percent = similarity_percent(result.size_a, result.differing);
    }
    return compared;
}

whole_comparison compare_whole_files(const std::wstring& a, const std::wstring& b, bool check_zero_length,
                                     const difference_listener& rows, const run_gate& gate) {
    comparison c;
    c.gate = &gate;
    c.rows = &rows;
    return run_comparison(a, b, c, check_zero_length);
}

uint64_t compare_bytes_read() { return bytes_read.load(); }

namespace {

// The owners of the two blocks; compare_buffer_a and compare_buffer_b name them for
// the readers.
unique_global block_a, block_b;

}  // namespace

int reserve_compare_buffers() {
    if (!block_a) block_a.reset(GlobalAlloc(GPTR, buffer_bytes));
    if (!block_b) block_b.reset(GlobalAlloc(GPTR, buffer_bytes));
    compare_buffer_a = static_cast<uint8_t*>(block_a.get());
    compare_buffer_b = static_cast<uint8_t*>(block_b.get());
    if (compare_buffer_a && compare_buffer_b) return 0;
    release_compare_buffers();
    run_status = status_idle;
    return 13;
}

void release_compare_buffers() {
    compare_buffer_a = nullptr;
    compare_buffer_b = nullptr;
    block_a.reset();
    block_b.reset();
}

}  // namespace orvkit
