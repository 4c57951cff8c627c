// The main window: its class, its procedure and the child controls it makes.
#pragma once
#include <windows.h>

namespace orvkit {

void register_main_window_class();
LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace orvkit
