#include "actions/undo_removal.h"

#include <windows.h>

#include <vector>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "core/journal_format.h"
#include "shell/recycle_bin.h"
#include "core/removal_journal.h"
#include "core/state.h"

namespace orvkit {

namespace {

constexpr std::size_t reasons_shown = 5;

bool same_path(const std::wstring& a, const std::wstring& b) { return case_key(a) == case_key(b); }

// Puts a recycled file back from the very item its removal journalled, and only
// while the bin still describes that item as this file: the same original path,
// size and deletion time. Another item of the same path is never taken for it.
std::wstring restore_recycled(const journal_entry& entry) {
    if (entry.target.empty()) return L"the journal does not name its item in the recycle bin";
    bin_item item;
    if (!read_bin_item(entry.target, item)) return L"no longer in the recycle bin";
    if (!same_path(item.original, entry.path) || item.size != entry.size || item.time != entry.bin_time)
        return L"its place in the recycle bin holds another item, left there";
    return restore_bin_item(item);
}

// Puts a moved file back; "" when it is back, else why not.
std::wstring restore_moved(const journal_entry& entry) {
    if (!path_exists(entry.target)) return L"no longer in the move folder";
    if (size_of_file(entry.target) != entry.size) return L"the file in the move folder has changed";
    make_parent_folders(entry.path);
    // MoveFileW never replaces: a file that took the path meanwhile stays.
    return MoveFileW(long_path(entry.target).c_str(), long_path(entry.path).c_str()) ? L"" : L"could not be moved back";
}

std::wstring outcome_text(int restored, const std::vector<std::wstring>& reasons, int deleted) {
    std::wstring text = std::to_wstring(restored) + L" files restored";
    if (!reasons.empty()) {
        text += L", " + std::to_wstring(reasons.size()) + L" could not be: ";
        for (std::size_t i = 0; i < reasons.size() && i < reasons_shown; ++i) text += (i ? L"; " : L"") + reasons[i];
        if (reasons.size() > reasons_shown) text += L"; and " + std::to_wstring(reasons.size() - reasons_shown) + L" more";
    }
    if (deleted > 0) text += L". " + std::to_wstring(deleted) + L" deleted files cannot be restored";
    return text;
}

}  // namespace

// Each file put back gets its line at once, so an Undo cut short, or one that could
// not restore every file, leaves the rest for the next Undo, and nothing twice.
std::wstring undo_last_removal(const ostrand_state& state, const undo_progress& progress) {
    const std::wstring journal = journal_path(state);
    const undo_plan plan = plan_undo(read_journal(journal));
    if (plan.batch.empty()) return L"No removal to undo";
    if (plan.pending.empty() && plan.deleted > 0)
        return std::to_wstring(plan.deleted) + L" deleted files cannot be restored; nothing was changed";

    journal_batch undo(journal, plan.batch);
    int restored = 0;
    std::vector<std::wstring> reasons;
    for (std::size_t i = 0; i < plan.pending.size(); ++i) {
        const journal_entry& entry = plan.pending[i];
        if (progress && !progress(i, plan.pending.size(), entry.path)) break;
        std::wstring why;
        if (path_exists(entry.path))
            why = L"a file already stands at its path";
        else
            why = entry.action == journal_action::moved ? restore_moved(entry) : restore_recycled(entry);
        if (!why.empty()) {
            reasons.push_back(entry.path + L" (" + why + L")");
            continue;
        }
        ++restored;
        undo.record(journal_action::restored, entry.path, entry.target, {}, entry.size);
    }
    std::wstring outcome = outcome_text(restored, reasons, plan.deleted);
    if (undo.failed()) outcome += L". " + std::wstring(journal_failed_text);
    return outcome;
}

}  // namespace orvkit
