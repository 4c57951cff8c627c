// The pointer over the band's painted controls: hover and click.
#pragma once
#include <windows.h>

namespace orvkit {

// WM_MOUSEMOVE: lights the control under the pointer (when it may be used now) and
// clears every other lit control, repainting only the faces that changed. Returns 1.
LRESULT on_mouse_move(HWND window, LPARAM position);

// WM_LBUTTONUP: presses the lit control (the hover flags), not the one at the
// click's position, so a click with no movement over a control before it does
// nothing. Returns 1.
LRESULT on_left_button_up(HWND window);

}  // namespace orvkit
