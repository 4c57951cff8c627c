// The diagnostics window: a small tool window that says "Ready..." and, once its
// timer fires, shows the state's debug_text. Opened by show_diagnostics_window
// (app/dialog_openers.h), a new window for every call.
#pragma once
#include <cstdint>

namespace orvkit {

constexpr uintptr_t diagnostics_timer = 1;        // the window's own timer
constexpr unsigned diagnostics_timer_ms = 10000;  // "Ready..." for this long

}  // namespace orvkit
