// Start-up: the state object, the interface set-up, the settings, the main window.
#pragma once
#include <windows.h>

namespace orvkit {

// 0 on success; 13 when the main window could not be created.
int initialise(HINSTANCE instance, int show_command);

// Dispatches messages until WM_QUIT; returns the process exit code, always 0.
int run_message_loop();
// One message as the loop handles it: the main window's keys first, then the
// focused control.
void handle_message(const MSG& message);

}  // namespace orvkit
