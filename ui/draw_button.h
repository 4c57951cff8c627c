// One painted button of the main window's band, or the mode switch knob.
#pragma once
#include <windows.h>

#include "ui/knob_turn.h"

namespace orvkit {
class ostrand_state;

// Face colours of the small and large buttons.
constexpr COLORREF button_face = RGB(213, 215, 183);
constexpr COLORREF button_face_hovered = RGB(229, 231, 199);

// The size of a face of `kind`: 0 a small button, 1 a large one, 2..5 the knob.
constexpr SIZE face_size(int kind) {
    return kind == 0 ? SIZE{54, 18} : kind == 1 ? SIZE{100, 24} : SIZE{knob_size, knob_size};
}

// kind 0: small button; 1: large button; 2..5: the knob turned for mode kind-2.
// `memory_dc` is a DC compatible with `paint_dc`, used as the knob's source. `text`
// (may be null) is drawn on kinds 0 and 1 only. Returns 1.
int draw_button(const ostrand_state& state, HDC paint_dc, HDC memory_dc, int kind, int top, int left, bool hovered,
                const wchar_t* text);

}  // namespace orvkit
