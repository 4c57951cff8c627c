#include "search/keep_rules.h"

#include <windows.h>

#include "base/long_path.h"

namespace orvkit {

uint64_t last_write_ticks(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(long_path(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
}

wchar_t column_to_remove(removal_choice choice, const pair_side& a, const pair_side& b) {
    switch (choice) {
    case removal_choice::none: return 0;
    case removal_choice::column_a: return L'A';
    case removal_choice::column_b: return L'B';
    default: break;
    }
    // The copy the rule prefers may already be going: then the other one stays.
    if (a.leaving != b.leaving) return a.leaving ? L'A' : L'B';
    switch (choice) {
    case removal_choice::keep_older: return last_write_ticks(a.path) > last_write_ticks(b.path) ? L'A' : L'B';
    case removal_choice::keep_newer: return last_write_ticks(a.path) < last_write_ticks(b.path) ? L'A' : L'B';
    default: return a.path.size() > b.path.size() ? L'A' : L'B';
    }
}

}  // namespace orvkit
