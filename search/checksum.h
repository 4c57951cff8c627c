// The content checksum: a running sum over little-endian 32-bit words with two
// wrapping accumulators. Plain arithmetic, no system calls.
#pragma once
#include <cstddef>
#include <cstdint>

namespace orvkit {

class checksum_accumulator {
public:
    // Adds the complete words of one block; 1 to 3 trailing bytes are left out.
    void add_block(const uint8_t* data, std::size_t length);
    // Only the low 15 bits of the second sum survive, in bits 17 to 31.
    uint32_t value() const { return s2_ << 17; }

private:
    uint32_t s1_ = 0;
    uint32_t s2_ = 0;
};

}  // namespace orvkit
