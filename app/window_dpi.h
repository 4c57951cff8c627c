// The main window at its display's DPI: read at creation and followed through
// WM_DPICHANGED, when the window moves to a display of another scale.
#pragma once
#include <windows.h>

#include <cstdint>

namespace orvkit {

// The window's DPI: GetDpiForWindow where the system has it, else the screen's.
uint32_t dpi_of_window(HWND window);

// Makes `dpi` the window's: the path boxes' and the list's fonts and the list's
// columns follow it; the band and the layout read it at their next paint and size.
void apply_window_dpi(uint32_t dpi);

// WM_DPICHANGED: takes the new DPI and the size and place the system suggests.
LRESULT on_dpi_changed(HWND window, WPARAM dpis, LPARAM suggested);

}  // namespace orvkit
