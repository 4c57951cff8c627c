// The options a run reads, copied once when it starts: whatever the menu does while
// the run goes on ("On Top", "Transparent", the dialogs it opens), the run keeps
// behaving as it began.
#pragma once
#include <cstdint>
#include <string>

#include "core/delete_queue.h"

namespace orvkit {

class ostrand_state;

// The keep rules of automatic removal, as the keep_rule option holds them: each names
// the copy that stays, and the other file of the pair is the one removed.
constexpr uint8_t keep_rule_none = 0;
constexpr uint8_t keep_rule_older = 1;          // "Keep the Older File"
constexpr uint8_t keep_rule_newer = 2;          // "Keep the Newer File"
constexpr uint8_t keep_rule_shorter_path = 3;   // "Keep the Shorter Path"

// Which file of a twin pair automatic removal takes.
enum class removal_choice { none, column_a, column_b, keep_older, keep_newer, keep_shorter_path };

struct run_options {
    uint32_t match_percentage = 100;
    bool use_hash = true;
    bool check_zero_length = true;
    bool remove_empty_dirs = true;
    removal_options removal;        // delete mode, move folder, read-only override
    removal_choice choice = removal_choice::none;  // automatic removal: the column or the keep rule
    bool mark_only = false;         // automatic removal marks the files it would remove
    std::wstring protected_folder;  // nothing under it is removed; empty when nothing is protected
};

// A copy of the options as they stand now. Taken by a worker at its start, while
// run_status already says busy, so no menu command that changes them can run.
// `search_this` is the run's first folder: with "Protect Search This Folder" on in
// QDir+, the folder whose files are protected.
run_options take_run_options(const ostrand_state& state, const std::wstring& search_this = {});

}  // namespace orvkit
