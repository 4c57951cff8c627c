// The search worker: indexes the folders (or adopts a loaded list), compares the
// candidate pairs, lists the twins and removes files on request.
#pragma once
#include <windows.h>

namespace orvkit {

// Thread procedure; its parameter is the main window. Returns 1.
DWORD WINAPI search_worker(LPVOID window);

}  // namespace orvkit
