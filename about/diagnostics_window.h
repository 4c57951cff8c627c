// The diagnostics window: a small tool window that says "Ready..." and, once its
// timer fires, shows the state's debug_text.
#pragma once
#include <windows.h>

#include <cstdint>

namespace orvkit {

// Makes a new diagnostics window (resource 1602), modeless, for every call.
HWND show_diagnostics_window(HWND owner);

constexpr uintptr_t diagnostics_timer = 1;        // the window's own timer
constexpr unsigned diagnostics_timer_ms = 10000;  // "Ready..." for this long

}  // namespace orvkit
