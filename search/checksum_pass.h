// The pass after the walk that reads the files that can pair: the records of each
// size that another record shares are read together, piece by piece, so that one
// read of a file gives both its checksum and its byte comparison with the others.
// Records whose bytes stay equal to the end share a content class; a record whose
// bytes part from every other is let go at once (unless whole files are asked for)
// and keeps checksum 0, as a file of a unique size does, since it cannot pair.
//
// The first pieces are read a few files ahead on a few threads (search/read_ahead),
// so that the waits for the disk and the system overlap.
//
// Memory: the pieces held at once (one per distinct content in the piece being
// compared) stay within piece_budget_bytes, whatever the tree.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "compare/content_classes.h"
#include "core/file_list.h"

namespace orvkit {


// Reads the records of each non-zero size that another record shares, a size at a
// time, members in list order: checksums, file indexes and content classes. With
// `whole_files` every file is read to its end (its checksum then decides what is
// compared); otherwise a file is read only while its bytes equal another's. A
// record that comes with a checksum (from the last index, or a resumed list) keeps
// it when its size group needs no reading: when every member came with one, only
// members whose checksum another shares are read. Other records get checksum 0.
// Holds while paused; stops on an abort or the list's stop request, and then sets
// every checksum and class back to 0. Returns false when stopped.
bool checksum_shared_sizes(orvFileList& list, bool whole_files, content_classes& classes);

// The status line while the pass runs ("" when none runs): its progress and file.
std::wstring checksum_status_line();

// Files opened by the pass since the process started (for tests and benchmarks).
uint64_t checksum_pass_opens();
// Bytes the pass has read since the process started.
uint64_t checksum_pass_bytes();
// Records of shared sizes that came to the last pass with their checksum.
uint64_t checksum_pass_known();

}  // namespace orvkit
