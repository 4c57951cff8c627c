// Clicks on the painted buttons of the main window.
#pragma once
#include <windows.h>

namespace orvkit {

// WM_LBUTTONUP: acts on the lit button (the hover flags), not on the click's
// position, so a click with no movement over a button before it does nothing.
// Returns 1.
LRESULT on_left_button_up(HWND window);

}  // namespace orvkit
