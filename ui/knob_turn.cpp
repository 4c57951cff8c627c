#include "ui/knob_turn.h"

#include <algorithm>

namespace orvkit {

knob_pixels turn_knob(const knob_pixels& source, int kind) {
    const bool flip_x = kind == 3 || kind == 4;
    const bool flip_y = kind == 4 || kind == 5;
    knob_pixels turned{};
    for (int y = 0; y < knob_size; ++y) {
        for (int x = 0; x < knob_size; ++x) {
            const int from_x = flip_x ? knob_size - 1 - x : x;
            const int from_y = flip_y ? knob_size - 1 - y : y;
            turned[y * knob_size + x] = source[from_y * knob_size + from_x];
        }
    }
    return turned;
}

std::vector<uint32_t> scale_knob(const knob_pixels& source, int size) {
    // On a grid of knob_size * size steps a target pixel spans knob_size steps and a
    // source pixel `size` steps; each source pixel weighs by the steps they share.
    const auto overlap = [size](int target, int from) {
        return std::max(0, std::min((target + 1) * knob_size, (from + 1) * size) - std::max(target * knob_size, from * size));
    };
    std::vector<uint32_t> scaled(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint64_t sums[3] = {};
            for (int from_y = y * knob_size / size; from_y < knob_size && from_y * size < (y + 1) * knob_size; ++from_y) {
                for (int from_x = x * knob_size / size; from_x < knob_size && from_x * size < (x + 1) * knob_size;
                     ++from_x) {
                    const uint64_t weight = static_cast<uint64_t>(overlap(y, from_y)) * static_cast<uint64_t>(overlap(x, from_x));
                    const uint32_t pixel = source[static_cast<std::size_t>(from_y * knob_size + from_x)];
                    for (int channel = 0; channel < 3; ++channel) sums[channel] += weight * ((pixel >> (8 * channel)) & 0xFF);
                }
            }
            uint32_t pixel = 0;
            const uint64_t area = static_cast<uint64_t>(knob_size) * knob_size;
            for (int channel = 0; channel < 3; ++channel)
                pixel |= static_cast<uint32_t>((sums[channel] + area / 2) / area) << (8 * channel);
            scaled[static_cast<std::size_t>(y * size + x)] = pixel;
        }
    }
    return scaled;
}

}  // namespace orvkit
