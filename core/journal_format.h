// The removal journal's text: one line per file removed or restored, UTF-16LE with
// a byte-order mark, fields separated by tabs, lines by CR LF, so that Notepad
// shows it as a table. Plain C++: the reader takes any bytes, a foreign or a cut
// file included, and keeps only the lines it can read whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvkit {

enum class journal_action { recycled, deleted, moved, restored, undone };

struct journal_entry {
    std::wstring time;     // UTC, "2026-12-07 15:40:12"
    journal_action action = journal_action::deleted;
    std::wstring path;     // the file removed, or put back
    std::wstring target;   // where a moved file went; empty otherwise
    std::wstring partner;  // the twin that stayed; empty for a restore
    uint64_t size = 0;
    std::wstring batch;    // the batch the file was removed in
    bool operator==(const journal_entry&) const = default;
};

// The byte-order mark and the header line a new journal starts with.
std::string journal_preamble();
// One entry as the bytes of its line, CR LF included.
std::string journal_line(const journal_entry& entry);
// Every whole, well-formed line of `bytes`; nothing without the byte-order mark.
std::vector<journal_entry> parse_journal(const uint8_t* bytes, std::size_t size);

// What Undo would do: the journal's last batch that removed files, whether an Undo
// of it already ran, its moved and recycled files not restored since, and how many
// of its files were deleted outright (those cannot come back).
struct undo_plan {
    std::wstring batch;  // empty when the journal names no removal
    bool undone = false;
    std::vector<journal_entry> pending;
    int deleted = 0;
};
undo_plan plan_undo(const std::vector<journal_entry>& entries);

}  // namespace orvkit
