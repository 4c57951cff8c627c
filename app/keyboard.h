// Keys of the main window, taken in the message loop before the focused control sees
// them: the band's buttons, the modes, and the results list's row commands.
#pragma once
#include <windows.h>

namespace orvkit {

// Acts on a key press meant for the main window or one of its controls and returns
// true when it took the key; false leaves it to the focused control.
bool take_window_key(const MSG& message);

// Where Tab (or Shift+Tab, `back`) moves the focus from `from`: path box A, path
// box B when shown, the list, and round again.
HWND next_in_tab_order(HWND from, bool back);

// The selected rows as tab-separated text, one line a row, on the clipboard as
// CF_UNICODETEXT. False when the clipboard cannot be had.
bool copy_selected_rows(HWND window);

}  // namespace orvkit
