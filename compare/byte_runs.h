// Runs of differing bytes between two equal-length spans, found a wide word at a
// time where the bytes agree and byte by byte only around the differences.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orvkit {

// First index in [from, to) where a and b differ; `to` when there is none.
std::size_t find_difference(const uint8_t* a, const uint8_t* b, std::size_t from, std::size_t to);
// First index in [from, to) where a and b are equal; `to` when there is none.
std::size_t find_equal(const uint8_t* a, const uint8_t* b, std::size_t from, std::size_t to);

// A run of differing bytes closed by an equal byte: its first index within the
// block and its length.
struct closed_run {
    std::size_t first = 0;
    uint64_t length = 0;
};

enum class scan_stop {
    end_of_span,       // `to` was reached
    run_closed,        // an equal byte closed a run: reported, counted, call again
    first_difference,  // stop_at_first was set and a differing byte was met
};

// The counts of one comparison, block by block. A block is scanned in any number of
// consecutive spans; the result does not depend on how it is split.
struct run_counter {
    uint64_t differing = 0;  // bytes of closed (or carried) runs
    uint64_t open_run = 0;   // differing bytes not yet closed by an equal byte

    // A run still open at the end of the previous block counts without a row.
    void start_block() {
        differing += open_run;
        open_run = 0;
    }
    // Differing bytes met so far, the open run included.
    uint64_t total() const { return differing + open_run; }

    // Scans [position, to) of the current block, advancing `position`; a[0] and b[0]
    // hold the bytes at block index `origin`. Stops early when a run closes (reported
    // in `run`, indexes within the block) or, with `stop_at_first`, at the first
    // differing byte (counted in open_run).
    scan_stop scan(const uint8_t* a, const uint8_t* b, std::size_t origin, std::size_t& position, std::size_t to,
                   bool stop_at_first, closed_run& run);
};

}  // namespace orvkit
