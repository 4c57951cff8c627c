// What the painted buttons of the main window do, whether clicked or pressed from
// the keyboard.
#pragma once
#include <windows.h>

#include <cstdint>

namespace orvkit {

// What the mode switch's knob does: the next mode, the list's columns to match.
void next_mode(HWND window);
void choose_mode(HWND window, uint32_t mode);
// What the Start/Abort button does: Abort unless `status` (the run status the press
// was taken on) is idle, else Start.
void start_or_abort_clicked(HWND window, int32_t status);
// About while `status` is idle, else Pause or Resume.
void top_button_clicked(HWND window, int32_t status);
// Choose: a file or folder picked into path box B (`for_b`, in the modes that show
// it) or A.
void choose_path(HWND window, bool for_b);

}  // namespace orvkit
