#include "ui/knob_turn.h"

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

}  // namespace orvkit
