// Which file of a twin pair automatic removal takes: the column chosen, or the file
// a keep rule does not prefer. A file already on its way out (queued, removed or
// marked) never stays for another pair, so a group of copies of any size keeps the
// one file the rule prefers.
#pragma once
#include <cstdint>
#include <string>

#include "core/run_options.h"

namespace orvkit {

// One file of the pair as the rules see it.
struct pair_side {
    const std::wstring& path;
    bool leaving = false;  // already chosen to go in this run
};

// 'A' or 'B'; 0 when nothing is to be removed. Last-write times are read from the
// disk, since a resumed list keeps only part of them; ties remove file B.
wchar_t column_to_remove(removal_choice choice, const pair_side& a, const pair_side& b);

// The file's last-write time as FILETIME ticks; 0 when it cannot be read.
uint64_t last_write_ticks(const std::wstring& path);

}  // namespace orvkit
