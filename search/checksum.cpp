#include "search/checksum.h"

#include <cstring>

#include <emmintrin.h>

namespace orvkit {

namespace {

uint32_t lane_sum(__m128i v) {
    uint32_t lanes[4];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), v);
    return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

uint32_t weighted_lanes(__m128i v, uint32_t first_weight) {
    uint32_t lanes[4];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), v);
    return first_weight * lanes[0] + (first_weight + 1) * lanes[1] + (first_weight + 2) * lanes[2] +
           (first_weight + 3) * lanes[3];
}

}  // namespace

// Over n = 8m words w[i] = w[8g + j], the loop gives
//   s1' = s1 + sum(w)
//   s2' = s2 + n s1 + sum((n - i) w[i]) = s2 + n s1 + 8 sum((m - g) w[g][j]) - sum(j w[g][j]),
// all modulo 2^32. Per lane j, `words` sums w[g][j] and `weighted` adds `words` after
// each group, which counts w[g][j] m - g times.
void checksum_accumulator::add_block(const uint8_t* data, std::size_t length) {
    const std::size_t groups = length / 32;
    if (groups > 0) {
        __m128i words_low = _mm_setzero_si128(), words_high = _mm_setzero_si128();
        __m128i weighted_low = _mm_setzero_si128(), weighted_high = _mm_setzero_si128();
        const auto* p = reinterpret_cast<const __m128i*>(data);
        for (std::size_t g = 0; g < groups; ++g, p += 2) {
            words_low = _mm_add_epi32(words_low, _mm_loadu_si128(p));
            words_high = _mm_add_epi32(words_high, _mm_loadu_si128(p + 1));
            weighted_low = _mm_add_epi32(weighted_low, words_low);
            weighted_high = _mm_add_epi32(weighted_high, words_high);
        }
        const uint32_t n = static_cast<uint32_t>(groups * 8);  // modulo 2^32, like every sum here
        s2_ += n * s1_ + 8 * (lane_sum(weighted_low) + lane_sum(weighted_high)) - weighted_lanes(words_low, 0) -
               weighted_lanes(words_high, 4);
        s1_ += lane_sum(words_low) + lane_sum(words_high);
    }
    add_block_plain(data + groups * 32, length - groups * 32);
}

void checksum_accumulator::add_block_plain(const uint8_t* data, std::size_t length) {
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
