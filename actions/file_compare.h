// The File-mode comparison worker: compares "Compare this" with "With this" and
// lists the runs of differing bytes, the progress and a verdict.
#pragma once
#include <windows.h>

namespace orvkit {

// Thread procedure (parameter unused): compares `path_a` with `path_b`, lists the
// runs that differ and a verdict, and leaves the outcome in run_status until the
// run ends.
DWORD WINAPI compare_files(LPVOID ignored);

}  // namespace orvkit
