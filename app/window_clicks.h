// Clicks on the painted buttons of the main window.
#pragma once
#include <windows.h>

#include <cstdint>

namespace orvkit {

// WM_LBUTTONUP: acts on the lit button (the hover flags), not on the click's
// position, so a click with no movement over a button before it does nothing.
// Returns 1.
LRESULT on_left_button_up(HWND window);

// What the mode switch's knob does: the next mode, the list's columns to match.
void next_mode(HWND window);
void choose_mode(HWND window, uint32_t mode);
// What the Start/Abort button does.
void start_or_abort_clicked(HWND window);

}  // namespace orvkit
