// Where the painted buttons of the main window lie, as functions of the client
// width and height, in the band's 96 DPI units (core/display_scale.h converts).
// Mouse tracking (hit areas) and painting (faces) both use them.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/display_scale.h"

namespace orvkit {

constexpr int band_height = 120;

// Hit areas: exclusive bounds unless the name says otherwise.
inline bool in_right_column(int x, uint32_t w) { return static_cast<int>(w) - 58 < x && x < static_cast<int>(w) - 4; }
inline bool in_top_band(int y) { return 4 < y && y < 23; }
inline bool in_help_band(int y) { return 26 < y && y < 45; }
inline bool in_choose_a_band(int y) { return 73 < y && y < 90; }
inline bool in_choose_b_band(int y) { return 95 < y && y < 112; }
inline bool in_mode_switch_columns(int x) { return 26 <= x && x <= 49; }  // inclusive
inline bool in_switch_rows(int y) { return 15 < y && y < 40; }             // mode switch and Start
inline bool in_start_columns(int x, uint32_t w) {
    return static_cast<int>(w) - 170 < x && x < static_cast<int>(w) - 70;
}

// Repaint rectangles.
inline RECT right_column_rect(uint32_t w, uint32_t h) {
    return {static_cast<LONG>(w) - 58, 0, static_cast<LONG>(w) - 4, static_cast<LONG>(h)};
}
constexpr RECT mode_switch_rect{25, 15, 50, 40};
inline RECT start_button_rect(uint32_t w) { return {static_cast<LONG>(w) - 170, 15, static_cast<LONG>(w) - 70, 40}; }
inline RECT top_band_rect(uint32_t w) { return {0, 0, static_cast<LONG>(w), band_height}; }
// The dotted mark around the face of the control that has the keyboard focus.
inline RECT focus_mark_rect(RECT face) { return {face.left - 2, face.top - 2, face.right + 2, face.bottom + 2}; }
inline RECT progress_band_rect(uint32_t w) { return {0, 0, static_cast<LONG>(w) - 175, 60}; }

}  // namespace orvkit
