// Byte-by-byte comparison of two files, the engine under the search and File mode:
// a search's candidate pair as a function of the two paths and the run's settings,
// or two whole files with each run of differing bytes handed to a listener. The run
// it works for is asked through a run_gate, never read from globals.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "compare/run_gate.h"
#include "core/run_protocol.h"

namespace orvkit {

// Outcomes of a comparison.
constexpr int32_t compare_finished = status_abort;  // ended, early or at the end
constexpr int32_t compare_invalid_a = status_invalid_a;
constexpr int32_t compare_both_empty = status_both_empty;
constexpr int32_t compare_invalid_b = status_invalid_b;

// What a search's pair comparison needs of the run's options.
struct pair_settings {
    bool stop_at_first = false;   // stop at the first difference (exact only at 100 %)
    uint32_t match_percentage = 100;
    bool check_zero_length = true;
};

struct pair_outcome {
    uint32_t percent = 0;
    int32_t outcome = compare_finished;  // or compare_invalid_a, compare_both_empty, compare_invalid_b
};

// One candidate pair of a search: the share of equal bytes and the outcome. Holds
// while paused; an abort ends it early with 0 %. Writes no rows and no globals.
pair_outcome compare_pair_files(const std::wstring& a, const std::wstring& b, const pair_settings& settings,
                                const run_gate& gate = window_run_gate());

// What a whole-file comparison tells as it goes.
struct difference_listener {
    std::function<void()> start;                                    // the comparison begins
    std::function<void(uint64_t position, uint64_t length)> difference;  // a run of differing bytes
};

struct whole_comparison {
    int32_t status = compare_finished;  // or compare_invalid_a, compare_both_empty, compare_invalid_b
    uint64_t size_a = 0;
    uint64_t size_b = 0;
    uint64_t differing = 0;
};

// Two whole files, every run of differing bytes handed to `rows` and the progress to
// the gate; an abort ends it early.
whole_comparison compare_whole_files(const std::wstring& a, const std::wstring& b, bool check_zero_length,
                                     const difference_listener& rows, const run_gate& gate = window_run_gate());

// Bytes the comparisons of this process have read (for benchmarks).
uint64_t compare_bytes_read();

// Takes the two 20,000,064-byte comparison blocks if not yet held: 0, or 13 (and
// run_status idle) when they cannot be had; the caller tells the user.
int reserve_compare_buffers();
// Frees both comparison blocks and nulls their pointers.
void release_compare_buffers();

}  // namespace orvkit
