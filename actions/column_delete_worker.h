// The column delete batch: a thread that walks the results list while the
// confirmation dialog shows its progress, and hands the chosen column's file of
// every row found 100% the same to the deletion queue, once its row was checked again.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "compare/removal_guard.h"
#include "core/delete_queue.h"

namespace orvkit {

// What one batch did; the worker writes it, the dialog reads it once run_status is
// back to idle (the worker's last write).
struct batch_outcome {
    std::atomic<int> removed{0};       // checked, and gone from its path
    std::atomic<int> twin_missing{0};  // kept: the other file of the row cannot be opened
    std::atomic<int> twin_changed{0};  // kept: the two files differ now
    std::atomic<int> same_file{0};     // kept: both cells reach one file, or may
    std::atomic<int> twin_removed{0};  // kept: its twin was removed earlier in the batch
    std::atomic<int> refused{0};       // kept: the system did not remove it
    std::atomic<int> protected_files{0};  // kept: it lies in the protected folder
    std::atomic<bool> journal_failed{false};  // a removal could not be recorded in the journal
    int kept() const { return twin_missing + twin_changed + same_file + twin_removed + refused + protected_files; }
};

// Counts what the guard said of one file.
void count_verdict(batch_outcome& outcome, removal_verdict verdict);

// The thread's parameter; the thread deletes it.
struct column_batch {
    HWND dialog = nullptr;
    int column = 0;  // 0 column A, 1 column B
    batch_outcome* outcome = nullptr;
    removal_options options;  // taken on the window thread when the batch starts
    std::wstring protected_folder;  // the last search's: nothing in it is removed
};

// Thread procedure: the parameter is a `column_batch` made with new. Ends with the
// queue flushed under its lock and run_status idle. Returns the last length read.
DWORD WINAPI column_delete_worker(LPVOID parameter);

// The closing row's text: how many files went and how many were kept, and why.
std::wstring outcome_text(const batch_outcome& outcome);

}  // namespace orvkit
