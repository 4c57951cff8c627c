// The arithmetic and texts of a two-file comparison: percentage in common, progress,
// the point from which a pair can no longer be twins, and the verdict line.
#pragma once
#include <cstdint>
#include <string>

namespace orvkit {

// Share of equal bytes, 0..100, for a file of `size` bytes with `differing` bytes
// that differ; counted in whole KiB above 50,000 bytes; never 100 when any differ.
uint32_t similarity_percent(uint64_t size, uint64_t differing);

// Progress 0..100 with `remaining` of `size_b` bytes still to compare; scaled by
// 65,536 above 20,000,000 bytes. `size_b` must not be 0.
int32_t compare_progress(uint64_t size_b, uint64_t remaining);

// The smallest differing count at which similarity_percent(size, count) drops below
// `match_percentage` (at least 1); UINT64_MAX when it never does.
uint64_t differing_limit(uint64_t size, uint32_t match_percentage);

// The verdict of a finished File-mode comparison that got past the file opens.
// Equal sizes: "Same" or "Files have N% in common"; different sizes name both.
std::wstring verdict_text(uint64_t size_a, uint64_t size_b, uint64_t differing);

// Detail text of the row that stands for the runs beyond the row limit.
std::wstring unlisted_runs_text(uint64_t unlisted);

}  // namespace orvkit
