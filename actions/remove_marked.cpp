#include "actions/remove_marked.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "actions/column_delete_worker.h"
#include "base/long_path.h"
#include "compare/removal_guard.h"
#include "compare/run_gate.h"
#include "core/globals.h"
#include "core/result_cells.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

struct marked_file {
    std::wstring path;
    std::vector<std::wstring> partners;        // unmarked files the rows paired it with
    std::vector<std::pair<int, wchar_t>> rows; // rows that mark it, and the column
    removal_verdict verdict = removal_verdict::partner_missing;
    bool tried = false;  // an Abort may end the batch before it
};

struct marked_list {
    std::vector<marked_file> files;
    std::unordered_map<std::wstring, std::size_t> at;  // case_key -> index in files
    int summary_row = -1;                              // the Marked row
};

// Every row pairs two files of one group: the marked files come from their Result
// cells, and a marked file's candidates to stay are the unmarked files of its rows.
marked_list read_marks() {
    marked_list marks;
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    const int rows = list_row_total();
    for (int row = 1; row < rows; ++row) {
        const std::wstring a = list_cell_text(row, 0), b = list_cell_text(row, 1);
        if (a == marked_row_text) marks.summary_row = row;
        if (a.empty() || b.empty()) continue;
        pairs.emplace_back(a, b);
        const wchar_t column = marked_column(list_cell_text(row, 2));
        if (!column) continue;
        const std::wstring& path = column == L'A' ? a : b;
        const auto [found, fresh] = marks.at.try_emplace(case_key(path), marks.files.size());
        if (fresh) marks.files.push_back({path, {}, {}});
        marks.files[found->second].rows.emplace_back(row, column);
    }
    for (const auto& [a, b] : pairs) {
        const auto marked_a = marks.at.find(case_key(a)), marked_b = marks.at.find(case_key(b));
        if (marked_a != marks.at.end() && marked_b == marks.at.end()) marks.files[marked_a->second].partners.push_back(b);
        if (marked_b != marks.at.end() && marked_a == marks.at.end()) marks.files[marked_b->second].partners.push_back(a);
    }
    return marks;
}

bool partner_failed(removal_verdict verdict) {
    return verdict == removal_verdict::partner_missing || verdict == removal_verdict::partner_changed ||
           verdict == removal_verdict::same_file || verdict == removal_verdict::identity_unknown ||
           verdict == removal_verdict::partner_removed;
}

// Tries the file's partners in row order until one stays; a queued file keeps the
// rest as copies it may be kept against when the list is sent.
removal_verdict remove_marked_file(removal_guard& guard, DeleteQueue& queue, const marked_file& file,
                                   const removal_options& options) {
    removal_verdict verdict = removal_verdict::partner_missing;
    std::size_t next = 0;
    while (next < file.partners.size()) {
        verdict = guard.remove(queue, file.path, file.partners[next++], &options);
        if (!partner_failed(verdict)) break;
    }
    if (verdict == removal_verdict::queued)
        while (next < file.partners.size()) guard.remove(queue, file.path, file.partners[next++], &options);
    return verdict;
}

void settle_recycled(removal_guard& guard, DeleteQueue& queue, marked_list& marks) {
    for (const removal_outcome& outcome : guard.flush(queue)) {
        const auto found = marks.at.find(case_key(outcome.path));
        if (found != marks.at.end()) marks.files[found->second].verdict = outcome.verdict;
    }
}

void show_outcomes(const marked_list& marks, batch_outcome& outcome) {
    for (const marked_file& file : marks.files) {
        if (!file.tried) continue;  // the batch was stopped first: the row keeps its mark
        count_verdict(outcome, file.verdict);
        const bool left = file.verdict == removal_verdict::removed;
        for (const auto& [row, column] : file.rows)
            list_set_cell(row, 2, (std::wstring(left ? L"Deleted " : L"Not deleted ") + column).c_str());
    }
}

void remove_marks(ostrand_state& state, const marked_removal& how, batch_outcome& outcome, int& summary_row) {
    marked_list marks = read_marks();
    summary_row = marks.summary_row;
    journal_batch journal(state, L"marked");
    removal_guard guard(&journal);
    guard.protect(how.protected_folder);
    const std::size_t total = marks.files.size();
    for (std::size_t done = 0; done < total; ++done) {
        marked_file& file = marks.files[done];
        progress_percent = static_cast<int32_t>(100 * done / total);
        shown_path.set(file.path);
        if (summary_row >= 0) {
            const std::wstring step = L"Removing " + std::to_wstring(done + 1) + L" of " + std::to_wstring(total);
            list_set_cell(summary_row, 1, step.c_str());
        }
        if (!hold_while_paused()) break;
        file.verdict = remove_marked_file(guard, state.deletions, file, how.options);
        file.tried = true;
        if (state.deletions.recycle_list_full()) settle_recycled(guard, state.deletions, marks);
    }
    settle_recycled(guard, state.deletions, marks);
    journal.end();
    outcome.journal_failed = journal.failed();
    show_outcomes(marks, outcome);
}

}  // namespace

DWORD WINAPI remove_marked_worker(LPVOID parameter) {
    std::unique_ptr<marked_removal> how(static_cast<marked_removal*>(parameter));
    batch_outcome outcome;
    int summary_row = -1;
    std::wstring text;
    try {
        if (const std::shared_ptr<ostrand_state> state = app_state) remove_marks(*state, *how, outcome, summary_row);
        text = outcome_text(outcome);
    } catch (...) {
        text = L"Removal stopped: out of memory";
    }
    if (summary_row >= 0) {
        list_set_cell(summary_row, 1, text.c_str());
        if (outcome.journal_failed) list_set_cell(summary_row, 2, journal_failed_text);
    }
    end_worker_run();
    return 0;
}

}  // namespace orvkit
