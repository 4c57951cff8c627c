// The closing row's summary text of a search.
#pragma once
#include <cstdint>
#include <string>

namespace orvkit {

struct search_totals {
    int64_t twins = 0;
    uint64_t files = 0;
    uint64_t total_bytes = 0;
    uint64_t deleted_bytes = 0;
    uint64_t folders = 0;
    uint64_t empty_folders_removed = 0;
};

// "3 twins found in 120 files. Total original size 5000 bytes. Total deleted 0 bytes.
// Total folders 4 with 0 empty folders deleted."
std::wstring search_summary(const search_totals& totals);

}  // namespace orvkit
