// File contents read once by the checksum pass and handed to the pair scan, so a
// small file that may have a twin is not opened a second time to be compared.
#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/file_list.h"

namespace orvkit {

struct preloaded_file {
    uint64_t size = 0;            // as the open file reported it
    std::vector<uint8_t> bytes;   // what could be read, at most `size`
};

struct preloaded_files {
    // Files of up to 1 MiB, at most 64 MiB in all: the pair scan's own limits (see
    // search/group_compare.h). Opening a file again costs about 0.2 ms on Wine, more
    // than reading a small one; sizes are summed from the smallest up, so the budget
    // goes to the small files, where the open counts most. A run with 256 MiB read
    // 22 % fewer bytes on a tree of 100,000 documents but was no faster.
    static constexpr std::size_t budget_bytes = 64u << 20;
    static constexpr std::size_t file_limit_bytes = 1u << 20;

    std::unordered_map<const file_record*, preloaded_file> files;
    std::size_t bytes = 0;
};

}  // namespace orvkit
