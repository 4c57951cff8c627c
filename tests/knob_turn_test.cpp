// The mode switch's knob scaled for the display: every scaled pixel the average of the source area it covers.
#include <gtest/gtest.h>

#include "ui/knob_turn.h"

using namespace orvkit;

// The source's top byte is not a colour: it never reaches the scaled pixels.
static knob_pixels gradient() {
    knob_pixels source{};
    for (int y = 0; y < knob_size; ++y)
        for (int x = 0; x < knob_size; ++x)
            source[y * knob_size + x] = 0xFF000000u | uint32_t(x * 10) | uint32_t(y * 10) << 8 | uint32_t((x + y) * 5) << 16;
    return source;
}

static uint32_t channel(uint32_t pixel, int which) { return pixel >> (8 * which) & 0xFF; }

// At whole multiples or fractions of the knob's size each scaled pixel is exactly the rounded mean of the source
// pixels it covers, up to the last row and column.
TEST(KnobScale, EachPixelIsTheMeanOfTheSourcePixelsItCovers) {
    const knob_pixels source = gradient();
    for (const int size : {24, 48, 72, 12, 8}) {
        const std::vector<uint32_t> scaled = scale_knob(source, size);
        ASSERT_EQ(scaled.size(), std::size_t(size * size));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                uint32_t expected = 0;
                const int span = std::max(1, knob_size / size), from_y = y * knob_size / size, from_x = x * knob_size / size;
                for (int which = 0; which < 3; ++which) {
                    uint32_t sum = 0;
                    for (int dy = 0; dy < span; ++dy)
                        for (int dx = 0; dx < span; ++dx)
                            sum += channel(source[(from_y + dy) * knob_size + from_x + dx], which);
                    expected |= (sum + span * span / 2) / (span * span) << (8 * which);
                }
                ASSERT_EQ(scaled[y * size + x], expected) << "size " << size << " at " << x << "," << y;
            }
    }
}
