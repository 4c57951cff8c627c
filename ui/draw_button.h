// One painted button of the main window's band, or the mode switch knob.
#pragma once
#include <windows.h>

namespace orvkit {
class ostrand_state;

// Face colours of the small and large buttons.
constexpr COLORREF button_face = RGB(213, 215, 183);
constexpr COLORREF button_face_hovered = RGB(229, 231, 199);

// kind 0: small button (54 x 18); 1: large button (100 x 24); 2..5: the 24 x 24
// knob turned for mode kind-2. `memory_dc` is a DC compatible with `paint_dc`,
// used as the knob's source. `text` (may be null) is drawn on kinds 0 and 1 only.
// Returns 1.
int draw_button(const ostrand_state& state, HDC paint_dc, HDC memory_dc, int kind, int top, int left, bool hovered,
                const wchar_t* text);

}  // namespace orvkit
