// "Remove Marked Files": the files a Mark Only search marked in the results list are
// removed as one batch, in the delete mode chosen now, each checked against a copy
// of its group that is not marked and so stays. The rows then say what became of
// each file, and the Marked row what became of them all.
#pragma once
#include <windows.h>

#include <string>

#include "core/delete_queue.h"

namespace orvkit {

// The thread's parameter, taken on the window thread; the thread deletes it.
struct marked_removal {
    removal_options options;
    std::wstring protected_folder;  // the marking search's, as the guard keeps it
};

// Thread procedure: the parameter is a `marked_removal` made with new. Reports its
// progress in the Marked row and on the band; Pause and Abort work as in a search.
DWORD WINAPI remove_marked_worker(LPVOID parameter);

}  // namespace orvkit
