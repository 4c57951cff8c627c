// The content checksum: a running sum over little-endian 32-bit words with two
// wrapping accumulators. Plain arithmetic, no system calls.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orvkit {

class checksum_accumulator {
public:
    // Adds the complete words of one block; 1 to 3 trailing bytes are left out.
    // Eight words at a time in vector registers; the same sums as add_block_plain.
    void add_block(const uint8_t* data, std::size_t length);
    // The word-by-word loop, kept as the definition the fast one is held to.
    void add_block_plain(const uint8_t* data, std::size_t length);
    // Only the low 15 bits of the second sum survive, in bits 17 to 31.
    uint32_t value() const { return s2_ << 17; }
    uint32_t first_sum() const { return s1_; }
    uint32_t second_sum() const { return s2_; }

private:
    uint32_t s1_ = 0;
    uint32_t s2_ = 0;
};

}  // namespace orvkit
