#include "actions/column_delete_worker.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "compare/removal_guard.h"
#include "base/file_reading.h"
#include "core/globals.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "resources/resource_ids.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

constexpr int full_match = 100;

}  // namespace

void count_verdict(batch_outcome& outcome, removal_verdict verdict) {
    switch (verdict) {
    case removal_verdict::removed: ++outcome.removed; break;
    case removal_verdict::partner_missing: ++outcome.twin_missing; break;
    case removal_verdict::partner_changed: ++outcome.twin_changed; break;
    case removal_verdict::same_file:
    case removal_verdict::identity_unknown: ++outcome.same_file; break;
    case removal_verdict::partner_removed: ++outcome.twin_removed; break;
    case removal_verdict::queue_failed: ++outcome.refused; break;
    case removal_verdict::protected_file: ++outcome.protected_files; break;
    default: break;  // queued (counted after the flush), gone, or named by an earlier row
    }
}

namespace {

// Sends what waits for the recycle bin and counts what became of each file.
void settle(removal_guard& guard, DeleteQueue& queue, batch_outcome& outcome) {
    for (const removal_outcome& file : guard.flush(queue)) count_verdict(outcome, file.verdict);
}

// Walks the rows from row 1 until a row without a percentage (the closing row, or the
// end of the list) or a stop request. Returns the last length read.
int walk_rows(const column_batch& batch, DeleteQueue& queue, removal_guard& guard) {
    wchar_t text[cell_text_units];
    wchar_t progress[64];
    int length = 0;
    int row = 1;
    do {
        length = list_get_cell(row, 2, text);
        if (_wtoi(text) == full_match) {
            length = list_get_cell(row, batch.column, text);
            if (length != 0) {
                const std::wstring file(text, length);
                list_get_cell(row, 1 - batch.column, text);
                const std::wstring twin(text);
                SetDlgItemTextW(batch.dialog, IDC_BATCH_TEXT, file.c_str());
                wsprintfW(progress, L"%d of %d", row, twin_count.load());
                SetDlgItemTextW(batch.dialog, IDC_BATCH_PROGRESS, progress);
                // The row may be old, and a column can hold every copy of a file: the
                // file goes only while a distinct, equal twin that stays is there.
                count_verdict(*batch.outcome, guard.remove(queue, file, twin, &batch.options));
                if (queue.recycle_list_full()) settle(guard, queue, *batch.outcome);
            }
        }
        ++row;
    } while (length != 0 && run_status != status_batch_stop);
    return length;
}

}  // namespace

// The guard and the journal outlive a failure part way, so what was queued is still
// sent, checked and counted, and the batch's closing line is written.
DWORD WINAPI column_delete_worker(LPVOID parameter) {
    std::unique_ptr<column_batch> batch(static_cast<column_batch*>(parameter));
    const std::shared_ptr<ostrand_state> state = app_state;
    if (!state) {
        run_status = status_idle;
        return 0;
    }
    int length = 0;
    try {
        journal_batch journal(*state, L"column delete");
        removal_guard guard(&journal);
        guard.protect(batch->protected_folder);
        try {
            length = walk_rows(*batch, state->deletions, guard);
        } catch (...) {
            // Out of memory for a path: end the batch here; what was queued still goes.
        }
        settle(guard, state->deletions, *batch->outcome);
        journal.end();
        batch->outcome->journal_failed = journal.failed();
    } catch (...) {
        batch->outcome->journal_failed = true;
    }
    run_status = status_idle;  // last: the dialog's timer may now close the dialog
    return static_cast<DWORD>(length);
}

std::wstring outcome_text(const batch_outcome& outcome) {
    wchar_t text[300];
    wsprintfW(text,
              L"%d files removed, %d kept: twin missing %d, twin changed %d, same file %d, twin already removed %d, "
              L"refused %d, protected %d",
              outcome.removed.load(), outcome.kept(), outcome.twin_missing.load(), outcome.twin_changed.load(),
              outcome.same_file.load(), outcome.twin_removed.load(), outcome.refused.load(),
              outcome.protected_files.load());
    return text;
}

}  // namespace orvkit
