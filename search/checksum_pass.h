// The checksums of a walked index, computed after the walk and only where they can
// matter: a record whose size no other record shares can never pair, so its file
// is not read and its checksum stays 0 (so it is saved in the list file).
#pragma once
#include <cstdint>
#include <string>

#include "core/file_list.h"
#include "search/preloaded_files.h"

namespace orvkit {

// Sums the content of every record of a non-zero size that another record shares,
// one size at a time and in list order within it, and keeps the file index read on
// the way (an empty file sums to 0 and is not opened). With `keep`, the content of
// small files whose size and checksum another file shares stays in memory for the
// pair scan, within the budget of preloaded_files. Holds while paused; stops on an
// abort or the list's stop request, and then sets every checksum back to 0, so no
// size group is left part summed and part not. Returns false when stopped.
bool checksum_shared_sizes(orvFileList& list, preloaded_files* keep = nullptr);

// The status line while the pass runs ("" when none runs): its progress and file.
std::wstring checksum_status_line();

// Files opened by the pass since the process started (for tests and benchmarks).
uint64_t checksum_pass_opens();
// Bytes the pass has read since the process started.
uint64_t checksum_pass_bytes();

}  // namespace orvkit
