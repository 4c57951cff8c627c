// Hover tracking over the painted buttons of the main window.
#pragma once
#include <windows.h>

namespace orvkit {

// WM_MOUSEMOVE: lights the button under the pointer (when it may light now) and
// clears every other lit button, repainting only the areas that changed. Returns 1.
LRESULT on_mouse_move(HWND window, LPARAM position);

}  // namespace orvkit
