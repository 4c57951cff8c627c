// The mode switch knob turned to point at the label of each mode: plain pixel
// arithmetic, kept apart from GDI so it can be checked exactly.
#pragma once
#include <array>
#include <cstdint>

namespace orvkit {

constexpr int knob_size = 24;
using knob_pixels = std::array<uint32_t, knob_size * knob_size>;  // rows top-down

// Kinds as draw_button numbers them: 2 unturned (File), 3 mirrored left to right
// (Directory), 4 turned half round (Quick Dir), 5 mirrored top to bottom (QDir+).
// Any other kind returns the source unturned.
knob_pixels turn_knob(const knob_pixels& source, int kind);

}  // namespace orvkit
