// The removal journal on disk: "Removals.txt" in the data folder, only ever
// appended to. Every batch of removals (one search run, one column delete, one
// "Delete File") writes, for each file, a line before the removal is tried and one
// after it, each flushed to disk before the program goes on, so that whenever the
// program stops the journal names every file that may have left and none as
// removed that did not; the batch's last line says it ended. Undo writes a line
// per file it put back.
#pragma once
#include <string>
#include <vector>

#include "base/owner.h"
#include "core/journal_format.h"

namespace orvkit {

class ostrand_state;

constexpr const wchar_t* journal_file_name = L"Removals.txt";
// What a batch's closing row says when a line could not be written.
constexpr const wchar_t* journal_failed_text = L"Removals.txt could not be written";

// The journal's path in the state's data folder.
std::wstring journal_path(const ostrand_state& state);

// The journal's entries; none when it is missing or unreadable.
std::vector<journal_entry> read_journal(const std::wstring& path);

// Whether Undo is offered: the last batch that ended has files to put back.
bool undo_offered(const ostrand_state& state);

// The time now, UTC, as the journal writes it.
std::wstring journal_time_now();

// One batch's writer: its id ("search 2026-12-07 15:40:00 #4711.1"), the journal
// kept open while the batch lasts, and whether a line could not be written.
class journal_batch {
public:
    // A new batch of `kind`.
    journal_batch(const ostrand_state& state, const wchar_t* kind);
    // More lines of the batch `id` (an Undo's restores).
    journal_batch(std::wstring path, std::wstring id);
    // Appends one line and flushes it to disk, writing the preamble first into a new
    // or empty journal.
    void record(journal_action action, const std::wstring& path, const std::wstring& target,
                const std::wstring& partner, uint64_t size, const std::wstring& bin_time = {});
    // The batch's closing line, when it wrote any line.
    void end();
    bool failed() const { return failed_; }

private:
    bool open();

    std::wstring path_;
    std::wstring id_;
    unique_handle file_;
    bool failed_ = false;
};

}  // namespace orvkit
