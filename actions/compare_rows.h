// The File-mode rows of a comparison: the "Start" row, one row per run of differing
// bytes up to a limit, a row counting the runs beyond it, and the closing row.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "core/test_seams.h"

namespace orvkit {

// More rows than difference_row_limit (core/test_seams.h) make a list nobody reads
// and hold memory for nothing; runs beyond it are counted and summed up in one row.
// Read when a comparison starts.

class compare_rows {
public:
    // Row 0: "Start" / "Equal".
    void start();
    // A run of `length` differing bytes whose first byte lies at `position` in the files.
    void difference(uint64_t position, uint64_t length);
    // Appends the row for the runs beyond the limit (if any), then the closing row
    // with `label` ("End" or "Aborted") and `verdict`, and shows it.
    void finish(const wchar_t* label, const std::wstring& verdict);

private:
    int last_row_ = -1;  // index of the last row written; rows are only appended
    uint64_t listed_ = 0;
    uint64_t unlisted_ = 0;
    uint64_t limit_ = difference_row_limit.load();
    uint64_t first_unlisted_ = 0;
};

}  // namespace orvkit
