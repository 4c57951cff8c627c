// The one guard in front of every removal of a twin: automatic removal during a
// search, the column delete and the action dialog's "Delete File". A file goes only
// while a copy that is to stay opens, is another file, is not on its way out itself,
// and holds the same bytes, all read from disk at that moment: the list and any
// contents held in memory may be older than the files. A file queued for the recycle
// bin is checked again when the list is sent, and every outcome (row, total, journal)
// is read from the disk afterwards: a file counts as removed once it left its path.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/delete_queue.h"
#include "core/file_list.h"
#include "shell/recycle_bin.h"
#include "core/removal_journal.h"

namespace orvkit {

// What the guard found, or what became of a removal.
enum class removal_verdict {
    partner_stays,     // the partner opens, is another file, is kept, and is equal byte for byte
    partner_missing,   // the partner can no longer be opened
    partner_changed,   // the two files differ now (size or content)
    same_file,         // both paths reach one file: same path, a hard link, a link, a share's two names
    identity_unknown,  // the file system cannot tell whether both paths reach one file
    partner_removed,   // the partner was itself removed or queued earlier in this batch
    file_gone,         // the file to remove can no longer be opened: nothing to do
    already_removed,   // the file was removed or queued earlier in this batch under this path
    other_name_removed,  // another path to this file (a link) was removed or queued earlier: kept,
                         // since removing a hard link's other name leaves this one
    queued,            // checked and queued for the recycle bin: its outcome comes with the flush
    removed,           // checked, and it has left its path
    queue_failed,      // checked, but the system refused: the file is still at its path
    protected_file,    // the file lies in the protected folder: never handed over
    marked,            // checked, and marked as a file that would go: nothing on disk changed
};

// What became of one file queued for the recycle bin, read from the disk after the flush.
struct removal_outcome {
    std::wstring path;
    removal_verdict verdict;  // removed, queue_failed, or why the flush kept it
    uint64_t size = 0;        // as it was checked
};

// One batch of removals: one search run, one column delete or one "Delete File".
// It remembers the files it handed to the queue, by path and by identity: with the
// recycle bin a queued file still exists until the flush, so existence alone cannot
// tell that it is on its way out.
class removal_guard {
public:
    // Every removal is recorded in `journal` when one is given.
    explicit removal_guard(journal_batch* journal = nullptr) : journal_(journal) {}
    // Checks on disk whether `file` may go while `partner` stays.
    removal_verdict check(const std::wstring& file, const std::wstring& partner) const;
    // Checks, then removes `file` by `options` or else the queue's own: deleted or
    // moved at once (removed, or queue_failed when it is still there), or queued for
    // the recycle bin. Each call for a queued file adds its partner to the copies that
    // may stay for it when the list is sent.
    removal_verdict remove(DeleteQueue& queue, const std::wstring& file, const std::wstring& partner,
                           const removal_options* options = nullptr);
    // Checks as remove does, then only remembers `file` as one that would go: a marked
    // file is never the copy that stays for a later pair, as a removed one is not.
    removal_verdict mark(const std::wstring& file, const std::wstring& partner);
    // Sends the queued files to the recycle bin, each checked again against a copy
    // that stays at that moment: one of its partners that is neither queued nor
    // removed. What each became of, in the order queued.
    std::vector<removal_outcome> flush(DeleteQueue& queue);
    // From now on no file in `folder` (empty: none) is removed or marked.
    void protect(const std::wstring& folder) { protected_folder_ = folder; }
    bool is_protected(const std::wstring& path) const;
    // The file was removed, queued or marked in this batch under this path.
    bool leaving(const std::wstring& path) const { return handed_path(path); }

private:
    struct pending_file {
        std::wstring path;
        std::vector<std::wstring> partners;  // in the order the rows named them
        uint64_t size = 0;
        std::wstring kept;                   // the partner it was sent against
    };

    // `queued`: the file is one of this batch's own queued files, checked again.
    removal_verdict check(const std::wstring& file, const std::wstring& partner, bool queued,
                          file_identity& identity, uint64_t& size) const;
    // Before a removal or a mark: the protected folder, a file named again, the check.
    removal_verdict admit(const std::wstring& file, const std::wstring& partner, file_identity& identity,
                          uint64_t& size);
    void remember(const std::wstring& file, const file_identity& identity);
    removal_verdict vet(pending_file& file) const;
    removal_outcome settle(const pending_file& file, bool sent, removal_verdict kept_why, recent_bin_items& bin);
    void forget(const std::wstring& path);
    bool handed_path(const std::wstring& path) const;
    bool handed_identity(const file_identity& identity) const;

    std::unordered_map<std::wstring, uint64_t> paths_;  // case_key of each path handed over: its file index
    std::unordered_multiset<uint64_t> indexes_;         // file index of each file handed over
    std::vector<pending_file> pending_;                  // queued for the recycle bin, in order
    std::unordered_map<std::wstring, std::size_t> pending_at_;  // case_key -> index in pending_
    journal_batch* journal_ = nullptr;
    std::wstring protected_folder_;
};

// Journals a file the recycle bin was asked to take and that has left its path:
// "recycled" with the bin's item of it, or "deleted" when the bin holds none (the
// shell destroyed it).
void record_recycled(journal_batch& journal, const std::wstring& path, const std::wstring& partner, uint64_t size,
                     recent_bin_items& bin);

// True when both files can be read and hold the same bytes: one streaming read of
// each, no pause or abort, since a stop request is honoured between removals.
bool equal_contents(const std::wstring& first, const std::wstring& second);

}  // namespace orvkit
