// The main window's client area as a screen reader sees it: the band's painted
// controls as buttons with their names, places, states and actions, beside the
// path boxes and the list, which the system's own proxies describe.
#pragma once
#include <windows.h>

namespace orvkit {

// WM_GETOBJECT: answers OBJID_CLIENT with the window's accessible object and
// leaves every other object to DefWindowProc.
LRESULT on_get_object(HWND window, WPARAM flags, LPARAM object_id);

}  // namespace orvkit
