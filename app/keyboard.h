// Keys of the main window, taken in the message loop before the focused control sees
// them: the band's buttons, the modes, and the results list's row commands.
#pragma once
#include <windows.h>

#include "app/band_controls.h"

namespace orvkit {

// Acts on a key press meant for the main window or one of its controls and returns
// true when it took the key; false leaves it to the focused control.
bool take_window_key(const MSG& message);

// A place the focus can be: a child window, or one of the band's controls (with
// the main window itself holding the focus).
struct tab_stop {
    HWND window = nullptr;
    band_control control = band_control::none;
    bool operator==(const tab_stop& other) const { return window == other.window && control == other.control; }
};

// Where Tab (or Shift+Tab, `back`) moves the focus from `from`, in reading order:
// the band's controls that can be used now, path box A and its Choose, path box B
// and its Choose when shown, the list, and round again.
tab_stop next_tab_stop(tab_stop from, bool back);
// Gives the focus to `to`.
void move_focus(tab_stop to);

// The selected rows as tab-separated text, one line a row, on the clipboard as
// CF_UNICODETEXT. False when the clipboard cannot be had.
bool copy_selected_rows(HWND window);

}  // namespace orvkit
