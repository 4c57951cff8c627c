// Files and folders dropped onto the main window.
#pragma once
#include <windows.h>
#include <shellapi.h>

namespace orvkit {

// WM_DROPFILES: the first dropped name goes into a path box when the mode has a
// use for it (a folder in Directory and Quick Dir, a file in File mode, filling
// A and B in turn); ignored while busy. Frees the drop. Returns 0.
LRESULT on_drop_files(HDROP drop);

}  // namespace orvkit
