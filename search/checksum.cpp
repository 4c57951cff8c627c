#include "search/checksum.h"

#include <cstring>

namespace orvkit {

void checksum_accumulator::add_block(const uint8_t* data, std::size_t length) {
    uint32_t s1 = s1_;
    uint32_t s2 = s2_;
    const std::size_t words = length / 4;
    for (std::size_t i = 0; i < words; ++i) {
        uint32_t w;
        std::memcpy(&w, data + i * 4, 4);  // x86 is little-endian, as the sum requires
        s1 += w;
        s2 += s1;
    }
    s1_ = s1;
    s2_ = s2;
}

}  // namespace orvkit
