// Where the parts of the main window lie, as functions of the client width, in the
// band's 96 DPI units (core/display_scale.h converts). The band's painted controls
// lie where their table (app/band_controls.cpp) puts them.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/display_scale.h"

namespace orvkit {

constexpr int band_height = 120;

// The path boxes, from `left` to `right_margin` short of the client's right edge.
struct path_box_place {
    int left;
    int top;
    int right_margin;
    int height;
};
constexpr path_box_place path_box_a{82, 73, 60, 20};
constexpr path_box_place path_box_b{82, 95, 60, 20};

// Repaint rectangles.
inline RECT top_band_rect(uint32_t w) { return {0, 0, static_cast<LONG>(w), band_height}; }
// The dotted mark around the face of the control that has the keyboard focus; a
// face's repaint covers it too.
inline RECT focus_mark_rect(RECT face) { return {face.left - 2, face.top - 2, face.right + 2, face.bottom + 2}; }
inline RECT progress_band_rect(uint32_t w) { return {0, 0, static_cast<LONG>(w) - 175, 60}; }

}  // namespace orvkit
