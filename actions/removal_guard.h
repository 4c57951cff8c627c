// The one guard in front of every removal of a twin: automatic removal during a
// search, the column delete and the action dialog's "Delete File". A file goes only
// while the partner that is to stay opens, is another file, is not on its way out
// itself, and holds the same bytes, all read from disk at that moment: the list
// and any contents held in memory may be older than the files.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_set>

#include "core/delete_queue.h"
#include "core/file_list.h"
#include "core/removal_journal.h"

namespace orvkit {

// What the guard found, or what became of a removal.
enum class removal_verdict {
    partner_stays,     // the partner opens, is another file, is kept, and is equal byte for byte
    partner_missing,   // the partner can no longer be opened
    partner_changed,   // the two files differ now (size or content)
    same_file,         // both paths reach one file: same path, a hard link, a link
    partner_removed,   // the partner was itself removed or queued earlier in this batch
    file_gone,         // the file to remove can no longer be opened: nothing to do
    already_removed,   // the file was removed or queued earlier in this batch under this path
    other_name_removed,  // another path to this file (a link) was removed or queued earlier: kept,
                         // since removing a hard link's other name leaves this one
    removed,           // checked, then removed or queued by the deletion queue
    queue_failed,      // checked, but the queue could not remove it
};

// One batch of removals: one search run, one column delete or one "Delete File".
// It remembers the files it handed to the queue, by path and by identity: with the
// recycle bin a queued file still exists until the flush, so existence alone cannot
// tell that it is on its way out.
class removal_guard {
public:
    // Every file removed is recorded in `journal` when one is given.
    explicit removal_guard(journal_batch* journal = nullptr) : journal_(journal) {}
    // Checks on disk whether `file` may go while `partner` stays.
    removal_verdict check(const std::wstring& file, const std::wstring& partner) const;
    // Checks, then hands `file` to the queue, by `options` or else the queue's own.
    removal_verdict remove(DeleteQueue& queue, const std::wstring& file, const std::wstring& partner,
                           const removal_options* options = nullptr);

private:
    removal_verdict check(const std::wstring& file, const std::wstring& partner, file_identity& identity) const;
    bool handed_path(const std::wstring& path) const;
    bool handed_identity(const file_identity& identity) const;

    std::unordered_set<std::wstring> paths_;   // case_key of each path handed over
    std::unordered_set<uint64_t> indexes_;     // file index of each file handed over
    journal_batch* journal_ = nullptr;
};

// True when both files can be read and hold the same bytes: one streaming read of
// each, no pause or abort, since a stop request is honoured between removals.
bool equal_contents(const std::wstring& first, const std::wstring& second);

}  // namespace orvkit
