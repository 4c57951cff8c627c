// The pair scan's comparisons from memory: each member of a (size, checksum) group
// is opened and read once, when first needed, and every pair of the group is
// compared from the bytes held. The result of each pair (percentage, outcome) is the
// one compare_pair_files gives for it; a pair whose files are not held falls back to it.
//
// Only groups of three or more are held: in a group of two each file is opened and
// read once by its one pair anyway, and streaming it avoids the cost of fresh
// memory (measured: 34 pairs of 1-50 MiB files took 0.8 s held, 0.2 s streamed).
//
// Memory budget: at most memory_budget_bytes of file content held at once, files
// of at most file_limit_bytes. 64 MiB is about what the run already holds in its two
// comparison blocks and the list's read buffer, so a search's peak at most about
// doubles. Held files are the small ones, where opening a file costs more than
// reading it (an empty file's 300 partners meant 300 opens of it): 1 MiB and less.
// A group is let go as soon as at most one of its members has its pass still to
// come. Larger files stream as before, where reading dominates and fresh memory
// would cost more than it saves.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "compare/pair_compare.h"
#include "core/file_list.h"

namespace orvkit {

// Files opened by every group_compare of the process (for tests and benchmarks).
uint64_t group_compare_opens();
// Bytes they have read.
uint64_t group_compare_bytes();

class group_compare {
public:
    static constexpr std::size_t memory_budget_bytes = 64u << 20;
    static constexpr std::size_t file_limit_bytes = 1u << 20;
    static constexpr std::size_t smallest_held_group = 3;

    // `list` as the pair scan starts on it: its groups are fixed here.
    group_compare(const orvFileList& list, const pair_settings& settings,
                  std::size_t budget = memory_budget_bytes, std::size_t file_limit = file_limit_bytes);

    // Opens and reads what pair (a, b) needs, as compare_pair_files opens it (a first, b
    // only when a opened), and fills an unknown file index from the open file.
    void prepare(file_record& a, file_record& b);
    // The pair's result from memory; false when a file is not held: compare_pair_files
    // must stream it. Call after prepare.
    bool compare(const file_record& a, const file_record& b, pair_outcome& result) const;
    // The record's own pass is over, or it was pruned: it is needed no more as file A
    // and, once its group has at most one member left, its group is let go.
    void done_with(const file_record& record);
    // The file was deleted or moved away: from now on it fails to open, under this
    // record and under every other record of its group that named the same file (the
    // same path met twice, or a link whose target it was).
    void forget_file(const file_record& record);

    uint64_t opens() const { return opens_; }
    std::size_t held_bytes() const { return held_; }
    std::size_t peak_bytes() const { return peak_; }

private:
    struct held_file {
        bool loaded = false;
        bool opened = false;
        bool streamed = false;  // over the budget: compare_pair_files reads it
        uint64_t size = 0;      // as the open file reports it
        std::vector<uint8_t> bytes;  // what could be read, at most `size`
    };
    struct group {
        std::vector<const file_record*> members;
        uint32_t remaining = 0;  // members whose pass has not ended
        std::size_t size = 0;     // members at the start
    };

    held_file& load(file_record& record);
    void release(const file_record* record);
    void forget_content(const file_record* record);

    pair_settings settings_;
    std::size_t budget_;
    std::size_t file_limit_;
    std::unordered_map<const file_record*, uint32_t> group_of_;
    std::vector<group> groups_;
    std::unordered_map<const file_record*, held_file> held_files_;
    std::size_t held_ = 0;
    std::size_t peak_ = 0;
    uint64_t opens_ = 0;
};

}  // namespace orvkit
