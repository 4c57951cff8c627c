// The hand-painted top band of the main window: mode switch and its labels, the
// buttons, the path captions and, while a worker runs, the progress bar and the
// status line. The same routine serves WM_PAINT and WM_PRINTCLIENT, so the band can
// also be rendered into any DC.
#pragma once
#include <windows.h>

namespace orvkit {

// Paints the band for the current client size, mode and run state into `dc`, after
// settling the progress: the taskbar follows it, and a finished or overlarge value
// is put right. Does neither at a client width of 200 or less.
void paint_band(HWND window, HDC dc);

LRESULT on_paint(HWND window);
// WM_PRINTCLIENT: erases first when PRF_ERASEBKGND is among the flags.
LRESULT on_print_client(HWND window, HDC dc, LPARAM flags);

}  // namespace orvkit
