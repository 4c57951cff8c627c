#include "actions/column_delete_worker.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "actions/removal_guard.h"
#include "base/file_reading.h"
#include "core/globals.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "resources/resource_ids.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

constexpr int full_match = 100;

void count_kept(batch_outcome& outcome, removal_verdict verdict) {
    switch (verdict) {
    case removal_verdict::partner_missing: ++outcome.twin_missing; break;
    case removal_verdict::partner_changed: ++outcome.twin_changed; break;
    case removal_verdict::same_file: ++outcome.same_file; break;
    case removal_verdict::partner_removed: ++outcome.twin_removed; break;
    default: break;
    }
}

// Walks the rows from row 1 until a row without a percentage (the closing row, or the
// end of the list) or a stop request. Returns the last length read.
int walk_rows(const column_batch& batch, DeleteQueue& queue, journal_batch& journal,
              std::vector<std::wstring>& handed_paths) {
    wchar_t text[cell_text_units];
    wchar_t progress[64];
    removal_guard guard(&journal);
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
                const removal_verdict verdict = guard.remove(queue, file, twin);
                if (verdict == removal_verdict::removed) handed_paths.push_back(file);
                count_kept(*batch.outcome, verdict);
            }
        }
        ++row;
    } while (length != 0 && run_status != status_batch_stop);
    return length;
}

}  // namespace

DWORD WINAPI column_delete_worker(LPVOID parameter) {
    std::unique_ptr<column_batch> batch(static_cast<column_batch*>(parameter));
    const std::shared_ptr<ostrand_state> state = app_state;
    if (!state) {
        run_status = status_idle;
        return 0;
    }
    int length = 0;
    std::vector<std::wstring> handed_paths;
    journal_batch journal(*state, L"column delete");
    try {
        length = walk_rows(*batch, state->deletions, journal, handed_paths);
    } catch (...) {
        // Out of memory for a path: end the batch here; what was queued still goes.
    }
    {
        std::lock_guard<std::mutex> held(state->deletions.lock);
        state->deletions.flush();
    }
    int removed = 0;
    for (const std::wstring& path : handed_paths)
        removed += !path_exists(path);
    batch->outcome->removed = removed;
    batch->outcome->journal_failed = journal.failed();
    run_status = status_idle;  // last: the dialog's timer may now close the dialog
    return static_cast<DWORD>(length);
}

std::wstring outcome_text(const batch_outcome& outcome) {
    wchar_t text[300];
    wsprintfW(text,
              L"%d files removed, %d kept: twin missing %d, twin changed %d, same file %d, twin already removed %d",
              outcome.removed.load(), outcome.kept(), outcome.twin_missing.load(), outcome.twin_changed.load(),
              outcome.same_file.load(), outcome.twin_removed.load());
    return text;
}

}  // namespace orvkit
