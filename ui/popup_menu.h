// The right-click menu with the options and the less frequent commands.
#pragma once
#include <windows.h>

namespace orvkit {

// Builds and shows the menu at the pointer. A run_status of status_menu_open (opened while
// idle) is consumed: it offers the idle-only entries and goes back to idle. Returns 1.
int show_popup_menu(HWND window);

// Carries out the menu command in the low word of `command`. Returns 0.
LRESULT handle_menu_command(HWND window, WPARAM command);

}  // namespace orvkit
