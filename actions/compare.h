// Byte-by-byte comparison of the files named by `path_a` and `path_b`.
//
// In File mode (search_mode 0) it runs as the comparison worker's thread procedure
// and lists the differing runs, the progress and a verdict. In the folder modes the
// search worker calls it directly for each candidate pair: it writes no rows,
// returns the percentage in common and leaves its outcome in `compare_result`.
#pragma once
#include <windows.h>

#include <cstdint>

#include "app/run_protocol.h"

namespace orvkit {

class ostrand_state;
struct run_options;

// Outcomes left in run_status / compare_result.
constexpr int32_t compare_finished = status_abort;  // ended, early or at the end
constexpr int32_t compare_invalid_a = status_invalid_a;
constexpr int32_t compare_both_empty = status_both_empty;
constexpr int32_t compare_invalid_b = status_invalid_b;

// Thread procedure (parameter: the main window, unused) and direct call alike. In
// the folder modes it reads the options as they stand now.
DWORD WINAPI compare_files(LPVOID ignored);

// One candidate pair of a search, `path_a` with `path_b`, under the search's own
// copy of the options: the percentage in common, the outcome in `compare_result`.
uint32_t compare_candidate(ostrand_state* state, const run_options& options);
// Bytes the comparisons of this process have read (for benchmarks).
uint64_t compare_bytes_read();

// Takes the two 20,000,064-byte comparison blocks if not yet held: 0, or 13 after
// showing "Memory Error" when they cannot be had.
int reserve_compare_buffers();
// Frees both comparison blocks and nulls their pointers.
void release_compare_buffers();

// Share of equal bytes, 0..100, for a file of `size` bytes with `differing` bytes
// that differ; counted in whole KiB above 50,000 bytes; never 100 when any differ.
uint32_t similarity_percent(uint64_t size, uint64_t differing);

}  // namespace orvkit
