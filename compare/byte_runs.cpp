#include "compare/byte_runs.h"

#include <bit>

#include <emmintrin.h>

namespace orvkit {

namespace {

// Bit i set where byte i of the two 16-byte groups is equal.
inline unsigned equal_mask16(const uint8_t* a, const uint8_t* b) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)));
}

inline __m128i equal16(const uint8_t* a, const uint8_t* b) {
    return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)));
}

}  // namespace

std::size_t find_difference(const uint8_t* a, const uint8_t* b, std::size_t i, std::size_t to) {
    // 64 bytes per step while everything agrees: the common case of equal files.
    while (i + 64 <= to) {
        const __m128i all = _mm_and_si128(_mm_and_si128(equal16(a + i, b + i), equal16(a + i + 16, b + i + 16)),
                                          _mm_and_si128(equal16(a + i + 32, b + i + 32), equal16(a + i + 48, b + i + 48)));
        if (_mm_movemask_epi8(all) != 0xFFFF) break;
        i += 64;
    }
    while (i + 16 <= to) {
        const unsigned differ = ~equal_mask16(a + i, b + i) & 0xFFFFu;
        if (differ) return i + static_cast<std::size_t>(std::countr_zero(differ));
        i += 16;
    }
    while (i < to && a[i] == b[i]) ++i;
    return i;
}

std::size_t find_equal(const uint8_t* a, const uint8_t* b, std::size_t i, std::size_t to) {
    // Runs are mostly short: look at the next bytes one by one before going wide.
    for (const std::size_t near = i + 8 < to ? i + 8 : to; i < near; ++i)
        if (a[i] == b[i]) return i;
    while (i + 16 <= to) {
        const unsigned equal = equal_mask16(a + i, b + i);
        if (equal) return i + static_cast<std::size_t>(std::countr_zero(equal));
        i += 16;
    }
    while (i < to && a[i] != b[i]) ++i;
    return i;
}

scan_stop run_counter::scan(const uint8_t* a, const uint8_t* b, std::size_t origin, std::size_t& position,
                            std::size_t to_index, bool stop_at_first, closed_run& run) {
    // Work in indexes of the span held in a and b; report in block indexes.
    std::size_t i = position - origin;
    const std::size_t to = to_index - origin;
    while (i < to) {
        if (open_run == 0) {
            i = find_difference(a, b, i, to);
            if (i == to) break;
            if (stop_at_first) {
                open_run = 1;
                position = origin + i + 1;
                return scan_stop::first_difference;
            }
        }
        const std::size_t end = find_equal(a, b, i, to);
        open_run += end - i;
        i = end;
        if (i == to) break;
        // Byte i is equal and closes the run; it is consumed here.
        run.length = open_run;
        run.first = origin + i - static_cast<std::size_t>(open_run);
        differing += open_run;
        open_run = 0;
        position = origin + i + 1;
        return scan_stop::run_closed;
    }
    position = to_index;
    return scan_stop::end_of_span;
}

}  // namespace orvkit
