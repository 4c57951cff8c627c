// Loading one row of the results list into the Duplicate File Action dialog.
#pragma once
#include <windows.h>

#include <string>

namespace orvkit {

// Shows the pair of the row in `row_item`.iItem, moving forward past rows it cannot
// show (no path, file A missing), at most 99 rows. Returns 1 when a row was shown,
// 0 when none could be.
int fill_pair_fields(HWND dialog);

// The title line of a pair: "These files were found to be " + the row's
// percentage cell + "% the same.", and a warning when file B cannot be found.
std::wstring pair_title(const std::wstring& percent_cell, bool twin_found);

// "time date" of a file time, as stored (UTC), in the user's locale formats.
std::wstring format_file_time(const FILETIME& time);

}  // namespace orvkit
