// The right-click menu with the options and the less frequent commands.
#pragma once
#include <windows.h>

namespace orvkit {

// Builds and shows the menu at the pointer, or with its top left corner at `at`
// (screen coordinates) when given. A run_status of status_menu_open (opened while
// idle) is consumed: it offers the idle-only entries and goes back to idle. Returns 1.
int show_popup_menu(HWND window, const POINT* at = nullptr);

}  // namespace orvkit
