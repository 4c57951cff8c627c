// Byte-by-byte comparison of two files: a search's candidate pair, as a function of
// the two paths and the run's settings; or, in File mode, the comparison worker's
// thread, which lists the differing runs, the progress and a verdict.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

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
pair_outcome compare_pair_files(const std::wstring& a, const std::wstring& b, const pair_settings& settings);

// The File-mode comparison worker (thread procedure; parameter unused): compares
// `path_a` with `path_b`, lists the runs that differ and a verdict, and leaves the
// outcome in run_status until the run ends.
DWORD WINAPI compare_files(LPVOID ignored);

// Bytes the comparisons of this process have read (for benchmarks).
uint64_t compare_bytes_read();

// Takes the two 20,000,064-byte comparison blocks if not yet held: 0, or 13 after
// showing "Memory Error" when they cannot be had.
int reserve_compare_buffers();
// Frees both comparison blocks and nulls their pointers.
void release_compare_buffers();

}  // namespace orvkit
