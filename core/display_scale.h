// The main window is laid out in units of a 96 DPI display and scaled to the
// window's own DPI: these convert between those units and the window's pixels.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/globals.h"

namespace orvkit {

inline int scaled(int units) { return MulDiv(units, static_cast<int>(window_dpi.load()), 96); }
inline int unscaled(int pixels) { return MulDiv(pixels, 96, static_cast<int>(window_dpi.load())); }
inline RECT scaled_rect(RECT units) {
    return {scaled(units.left), scaled(units.top), scaled(units.right), scaled(units.bottom)};
}
// The client width in 96 DPI units, as the band is laid out.
inline uint32_t band_width() { return static_cast<uint32_t>(unscaled(static_cast<int>(client_width.load()))); }

}  // namespace orvkit
