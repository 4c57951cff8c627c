// The mode switch knob turned to point at the label of each mode, and scaled for
// the display: plain pixel arithmetic, kept apart from GDI so it can be checked
// exactly.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace orvkit {

constexpr int knob_size = 24;
using knob_pixels = std::array<uint32_t, knob_size * knob_size>;  // rows top-down

// Kinds as draw_button numbers them: 2 unturned (File), 3 mirrored left to right
// (Directory), 4 turned half round (Quick Dir), 5 mirrored top to bottom (QDir+).
// Any other kind returns the source unturned.
knob_pixels turn_knob(const knob_pixels& source, int kind);

// The knob at `size` x `size` pixels (rows top-down), each pixel the average of the
// source area it covers: twice the size doubles every pixel exactly, and one and a
// half times blends only the edges the pixels share.
std::vector<uint32_t> scale_knob(const knob_pixels& source, int size);

}  // namespace orvkit
