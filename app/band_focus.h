// The keyboard focus among the band's painted controls: which one has it while the
// main window itself holds the focus, and the dotted mark that shows it.
#pragma once
#include <windows.h>

#include "app/band_controls.h"

namespace orvkit {

// The control that holds the keyboard focus while the main window itself has it.
band_control focused_band_control();
// Gives the focus to `control` (the main window takes it) and moves the focus mark.
void focus_band_control(HWND window, band_control control);
// WM_SETFOCUS and WM_KILLFOCUS of the main window (`gained`): shows or hides the
// focus mark.
LRESULT on_focus_change(HWND window, bool gained);
// The control with the focus mark: the focused control while the main window itself
// has the keyboard focus and the control can be used, else none.
band_control marked_band_control();
// Forgets the focused control when the focus goes to a child window.
void clear_band_focus(HWND window);

}  // namespace orvkit
