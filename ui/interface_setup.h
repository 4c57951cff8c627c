// The interface set-up run once at start-up: names, data folder, common controls,
// the process's tooltip window, the icons and the mode-switch bitmaps.
#pragma once
#include <windows.h>

#include <memory>

namespace orvkit {
class ostrand_state;

// Returns the data-folder set-up's result; 0 when `state` is null.
int setup_interface(std::shared_ptr<ostrand_state> state, HINSTANCE instance);

}  // namespace orvkit
