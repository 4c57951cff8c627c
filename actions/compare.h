// Byte-by-byte comparison of the files named by `path_a` and `path_b`.
//
// In File mode (search_mode 0) it runs as the comparison worker's thread procedure
// and lists the differing runs, the progress and a verdict. In the folder modes the
// search worker calls it directly for each candidate pair: it writes no rows,
// returns the percentage in common and leaves its outcome in `compare_result`.
#pragma once
#include <windows.h>

#include <cstdint>

namespace orvkit {

// Outcomes left in run_status / compare_result.
constexpr int32_t compare_finished = 2;
constexpr int32_t compare_invalid_a = 6;
constexpr int32_t compare_both_empty = 7;
constexpr int32_t compare_invalid_b = 8;

// Thread procedure (parameter: the main window, unused) and direct call alike.
DWORD WINAPI compare_files(LPVOID ignored);

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
