#include "search/search_worker.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "compare/pair_compare.h"
#include "compare/removal_guard.h"
#include "base/long_path.h"
#include "core/file_identity.h"
#include "core/result_cells.h"
#include "core/globals.h"
#include "core/run_options.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "search/checksum_pass.h"
#include "search/directory_walk.h"
#include "search/group_compare.h"
#include "search/keep_rules.h"
#include "search/known_checksums.h"
#include "search/list_file.h"
#include "search/pair_scan.h"
#include "compare/run_gate.h"
#include "search/search_phases.h"
#include "search/search_summary.h"
#include "ui/results_list.h"
#include "ui/standard_dialogs.h"

namespace orvkit {

namespace {

// What one run keeps besides the shared state.
struct search_run {
    std::shared_ptr<ostrand_state> state;
    run_options options;  // as they stood when the run began
    HWND window = nullptr;
    std::shared_ptr<orvFileList> list;
    uint32_t file_count = 0;
    int row_counter = 0;  // index of the next row; the closing row goes here
    uint32_t pruned_count = 0;
    bool memory_failed = false;
    pair_settings compared;           // what each pair comparison needs of the options
    group_compare* groups = nullptr;  // the pair scan's files held in memory
    content_classes classes;          // what the checksum pass found equal
    std::unique_ptr<journal_batch> journal;  // with automatic removal: where each removal is recorded
    removal_guard guard;              // the files this run removed or queued
    struct queued_row {
        int row;
        wchar_t column;
    };
    // Rows whose file waits for the recycle bin, by the file's case_key.
    std::unordered_map<std::wstring, std::vector<queued_row>> queued_rows;
    uint32_t marked_files = 0;  // with Mark Only: the files that would go
    uint64_t marked_bytes = 0;
};

bool aborting() { return pause_code.load() == pause_aborting; }

// Hands `removed`, one file of a twin pair, to the deletion queue through the guard
// and returns the result cell. The row says "Deleted" only once the file has left its
// path: a delete or a move at once, a file queued for the recycle bin ("Queued")
// after the list was sent (settle_queued); a path removed by an earlier row is
// counted once. When the guard finds the copy that is to stay missing, changed, the
// same file or on its way out itself, the file stays: overlapping trees and links
// can pair each copy with the other.
std::wstring remove_twin(search_run& run, file_record& removed, const file_record& kept, wchar_t column) {
    const std::wstring removed_path = removed.path();
    const removal_verdict verdict =
        run.guard.remove(run.state->deletions, removed_path, kept.path(), &run.options.removal);
    if (verdict == removal_verdict::protected_file) return protected_text;
    const std::wstring key = case_key(removed_path);
    const bool queued = verdict == removal_verdict::queued ||
                        (verdict == removal_verdict::already_removed && run.queued_rows.count(key));
    if (queued) {
        run.queued_rows[key].push_back({run.row_counter, column});
        return std::wstring(L"Queued ") + column;
    }
    if (verdict == removal_verdict::already_removed) return std::wstring(L"Deleted ") + column;
    if (verdict != removal_verdict::removed) return std::wstring(L"Not deleted ") + column;
    // Deleted or moved: its later pairs, under any of its records, find it gone, as a
    // fresh open would.
    run.groups->forget_file(removed);
    run.classes.forget_file(removed);
    run.list->deleted_bytes += removed.size;
    return std::wstring(L"Deleted ") + column;
}

// With Mark Only: checks the pair as a removal would, and marks the file instead.
std::wstring mark_twin(search_run& run, const file_record& marked, const file_record& kept, wchar_t column) {
    const removal_verdict verdict = run.guard.mark(marked.path(), kept.path());
    if (verdict == removal_verdict::protected_file) return protected_text;
    if (verdict == removal_verdict::marked) {
        ++run.marked_files;
        run.marked_bytes += marked.size;
    } else if (verdict != removal_verdict::already_removed) {
        return std::wstring(L"Not deleted ") + column;
    }
    return std::wstring(marked_text) + column;
}

// The result cell of a twin row: its percentage, or what automatic removal did.
std::wstring settle_twin(search_run& run, file_record& a, file_record& b, uint32_t percent) {
    if (run.options.choice == removal_choice::none) return std::to_wstring(percent);
    const std::wstring path_of_a = a.path(), path_of_b = b.path();
    const wchar_t column = column_to_remove(run.options.choice, {path_of_a, run.guard.leaving(path_of_a)},
                                            {path_of_b, run.guard.leaving(path_of_b)});
    if (!column) return std::to_wstring(percent);
    file_record& removed = column == L'A' ? a : b;
    const file_record& kept = column == L'A' ? b : a;
    return run.options.mark_only ? mark_twin(run, removed, kept, column) : remove_twin(run, removed, kept, column);
}

// Sends the files queued for the recycle bin and gives each of their rows its
// outcome, read from the disk; only a file that left counts in the deleted total.
// Sent before the run's end when the list is full: the pairs after it then find the
// files gone, as they would after a delete.
void settle_queued(search_run& run) {
    if (run.queued_rows.empty()) return;
    const std::vector<removal_outcome> outcomes = run.guard.flush(run.state->deletions);
    std::unordered_set<std::wstring> gone;
    for (const removal_outcome& outcome : outcomes) {
        const std::wstring key = case_key(outcome.path);
        const bool left = outcome.verdict == removal_verdict::removed;
        if (left) {
            gone.insert(key);
            run.list->deleted_bytes += outcome.size;
        }
        for (const search_run::queued_row& row : run.queued_rows[key])
            list_set_cell(row.row, 2, (std::wstring(left ? L"Deleted " : L"Not deleted ") + row.column).c_str());
    }
    run.queued_rows.clear();
    if (!run.groups || gone.empty()) return;
    for (const auto& record : run.list->records) {
        if (!gone.count(case_key(record->path()))) continue;
        run.groups->forget_file(*record);
        run.classes.forget_file(*record);
    }
}

void compare_pair(search_run& run, std::size_t a, std::size_t b) {
    file_record& record_a = *run.list->records[a];
    file_record& record_b = *run.list->records[b];
    pair_outcome compared;
    const bool settled = run.classes.compare(record_a, record_b, run.compared, compared);
    if (!settled) run.groups->prepare(record_a, record_b);
    if (same_file(record_a, record_b)) return;

    path_b.clear();  // for the painting and the row; refilled in place, so no text is made a pair
    record_b.append_path(path_b);
    if (!settled && !run.groups->compare(record_a, record_b, compared))
        compared = compare_pair_files(record_a.path(), path_b, run.compared);
    if (aborting()) return;
    const uint32_t percent = compared.percent;
    const int32_t outcome = compared.outcome;
    if (outcome == compare_invalid_a) return;
    if (outcome == compare_invalid_b) {
        ++record_b.fail_count;  // the pair scan prunes it
        return;
    }
    // Nothing in common is never a twin, whatever a foreign settings file says.
    if (percent == 0 || percent < run.options.match_percentage) return;

    const std::wstring result = settle_twin(run, record_a, record_b, percent);
    {
        const phase_timer timer(search_phase::rows);
        list_insert_row(run.row_counter, path_a.c_str());
        list_set_cell(run.row_counter, 1, path_b.c_str());
        list_set_cell(run.row_counter, 2, result.c_str());
    }
    ++run.row_counter;
    ++twin_count;
    if (run.state->deletions.recycle_list_full()) settle_queued(run);
}

// Takes the comparison blocks, clears the list and announces the indexing.
bool begin_search(search_run& run) {
    twin_count = 0;
    reset_search_phases();
    const phase_timer timer(search_phase::blocks);
    if (reserve_compare_buffers() != 0) {
        show_memory_error();
        return false;
    }
    const uint32_t mode = search_mode;
    run.state->stop_at_first_difference = (run.options.use_hash || run.options.match_percentage == 100) &&
                                          (mode == mode_quick_dir || mode == mode_qdir_plus);
    show_path_box_b(mode);
    list_clear();
    list_insert_row(0, L"Indexing");
    run_status = status_indexing;
    return true;
}

// Reads what the files of shared sizes hold, with Hash in the quick modes: below
// 100 % every checksum, since equal checksums choose the pairs. A walked list first
// takes the checksums of unchanged files from the last saved index.
void read_shared_sizes(search_run& run, orvFileList& list, bool walked) {
    const uint32_t mode = search_mode;
    if (!run.options.use_hash || (mode != mode_quick_dir && mode != mode_qdir_plus) || aborting()) return;
    if (walked) {
        const phase_timer timer(search_phase::last_list);
        take_known_checksums(list, L"LastList.txt");
    }
    const phase_timer timer(search_phase::checksums);
    checksum_shared_sizes(list, run.options.match_percentage < 100, run.classes);
}

// Adopts a list loaded by a Resume command, or walks the folders into a new one,
// taking the checksums of unchanged files from the last saved index.
void index_folders(search_run& run) {
    const std::wstring folder_a = path_a;
    const std::wstring folder_b = path_b;
    auto loaded = run.state->loaded_list.load();
    if (loaded && loaded->record_count >= 2) {
        run.list = loaded;
        run.state->scan_list.store(loaded);
        read_shared_sizes(run, *loaded, false);
        return;
    }
    auto list = make_file_list();
    list->mode = search_mode;
    list->remove_empty_folders = run.options.remove_empty_dirs;
    run.list = list;
    run.state->scan_list.store(list);
    // An abort that came before this list existed could not reach it.
    if (aborting()) list->status = orvFileList::stop_requested;
    {
        const phase_timer timer(search_phase::walk);
        walk_folder(*list, folder_a, false);
        if (search_mode == mode_qdir_plus) walk_folder(*list, folder_b, false);
    }
    read_shared_sizes(run, *list, true);
    const phase_timer timer(search_phase::list_write);
    write_list_file(*list, L"LastList.txt", L"LastListLast.txt");
}

void compare_candidates(search_run& run) {
    orvFileList& list = *run.list;
    run.file_count = static_cast<uint32_t>(list.record_count);
    list_delete_row(0);
    list_insert_row(0, L"Start");
    list_set_cell(0, 1, (std::to_wstring(run.file_count) + L" files found").c_str());
    run.row_counter = 1;

    run.compared.stop_at_first = run.state->stop_at_first_difference.load() != 0;
    run.compared.match_percentage = run.options.match_percentage;
    run.compared.check_zero_length = run.options.check_zero_length;
    group_compare groups(list, run.compared);
    run.groups = &groups;

    pair_scan_hooks hooks;
    hooks.begin_pass = [&](std::size_t a) {
        hold_while_paused();
        path_a = list.records[a]->path();
        shown_path.set(path_a);
    };
    // Paused before every pair, not only between passes: a pass over hundreds of
    // partners of an empty file has no byte at which the comparison would hold.
    hooks.candidate = [&](std::size_t a, std::size_t b) {
        if (hold_while_paused()) compare_pair(run, a, b);
    };
    hooks.end_pass = [&](std::size_t a) {
        groups.done_with(*list.records[a]);
        if (run.file_count) progress_percent = static_cast<int32_t>((100ull * a) / run.file_count);
    };
    hooks.stop_requested = aborting;
    hooks.prune = [&](const file_record& pruned) {
        groups.done_with(pruned);
        run.classes.drop_record(pruned);
    };
    // At 100 % only records read to the same bytes can pair; below, equal checksums
    // choose the pairs and the files say how much they share.
    {
        const phase_timer timer(search_phase::pairs);
        run.pruned_count = scan_candidate_pairs(list, hooks, run.options.match_percentage >= 100);
    }
    // The scan dropped its pruned records, so the records moved: nothing that holds
    // pointers to them is used again.
    run.groups = nullptr;
    run.classes.clear();
    settle_queued(run);
}

void close_search(search_run& run) {
    settle_queued(run);  // a run cut short by a failure still sends what it queued
    if (run.journal) run.journal->end();
    const bool aborted = aborting() || run.memory_failed;
    search_totals totals;
    totals.twins = twin_count;
    totals.files = run.file_count;
    if (run.list) {
        totals.total_bytes = run.list->total_bytes;
        totals.deleted_bytes = run.list->deleted_bytes;
        totals.folders = run.list->folders_visited;
        totals.empty_folders_removed = run.list->empty_folders_removed;
    }
    if (run.options.mark_only) {
        list_insert_row(run.row_counter, L"Marked");
        list_set_cell(run.row_counter, 1, marked_summary(run.marked_files, run.marked_bytes).c_str());
        ++run.row_counter;
    }
    list_insert_row(run.row_counter, aborted ? L"Aborted" : L"Finished");
    list_set_cell(run.row_counter, 1, search_summary(totals).c_str());
    if (run.journal && run.journal->failed()) list_set_cell(run.row_counter, 2, journal_failed_text);
    list_show_row(run.row_counter);
    release_compare_buffers();
    if (run.pruned_count > 0 && run.list)
        write_list_file(*run.list, L"LastListPruned.txt", L"LastListPunedLast.txt");
}

void run_search(search_run& run) {
    if (!begin_search(run)) {
        run.memory_failed = true;
        return;
    }
    index_folders(run);
    run.list->deleted_bytes = 0;
    run_status = status_comparing;
    if (run.list->record_count < 2 || aborting()) return;
    compare_candidates(run);
}

}  // namespace

DWORD WINAPI search_worker(LPVOID window) {
    search_run run;
    run.state = app_state;
    run.window = static_cast<HWND>(window);
    try {
        run.options = take_run_options(*run.state, path_a);
        run.state->protected_folder = run.options.protected_folder;
        if (run.options.choice != removal_choice::none && !run.options.mark_only) {
            run.journal = std::make_unique<journal_batch>(*run.state, L"search");
            run.guard = removal_guard(run.journal.get());
        }
        run.guard.protect(run.options.protected_folder);
        run_search(run);
    } catch (...) {
        run.memory_failed = true;  // out of memory mid-run: close as aborted
    }
    try {
        close_search(run);
    } catch (...) {
    }
    show_path_box_b(search_mode);
    end_worker_run();
    return 1;
}

}  // namespace orvkit
