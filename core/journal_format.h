// The removal journal's text: UTF-16LE with a byte-order mark, fields separated by
// tabs, lines by CR LF, so that Notepad shows it as a table. Each removal writes a
// line before it is tried ("recycling", "deleting", "moving") and one after it
// ("recycled", "deleted", "moved" once the file has left its path, or "failed");
// Undo writes "restored" per file put back, and every batch ends with "ended".
// Plain C++: the reader takes any bytes, a foreign or a cut file included, and
// keeps only the lines it can read whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvkit {

enum class journal_action {
    recycled, deleted, moved,      // the file has left its path
    restored,                      // an Undo put it back
    undone,                        // an Undo ran (written by earlier versions; read, never written)
    recycling, deleting, moving,   // about to be tried: no outcome yet
    failed,                        // tried, and the file is still at its path
    ended,                         // the batch is over
};

struct journal_entry {
    std::wstring time;     // UTC, "2026-12-07 15:40:12"
    journal_action action = journal_action::deleted;
    std::wstring path;     // the file removed, or put back
    std::wstring target;   // where a moved file went, or the recycled file's item in the bin
    std::wstring partner;  // the twin that stayed; empty for a restore
    uint64_t size = 0;
    std::wstring batch;    // the batch the file was removed in
    std::wstring bin_time; // the bin's own record of when it took the item; empty otherwise
    bool operator==(const journal_entry&) const = default;
};

// The byte-order mark and the header line a new journal starts with.
std::string journal_preamble();
// One entry as the bytes of its line, CR LF included.
std::string journal_line(const journal_entry& entry);
// Every whole, well-formed line of `bytes`; nothing without the byte-order mark.
std::vector<journal_entry> parse_journal(const uint8_t* bytes, std::size_t size);

// The action written before a removal of that kind, and the one after it succeeded.
journal_action intent_of(journal_action done);

// What Undo would do: the journal's last batch that has ended (a batch still running
// in another window has not), its moved and recycled files not restored since, and
// how many of its files were deleted outright (those cannot come back).
struct undo_plan {
    std::wstring batch;  // empty when no batch has ended
    std::vector<journal_entry> pending;
    int deleted = 0;
};
undo_plan plan_undo(const std::vector<journal_entry>& entries);

}  // namespace orvkit
