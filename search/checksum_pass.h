// The pass after the walk that reads the files that can pair: the records of each
// size that another record shares are read together, piece by piece, so that one
// read of a file gives both its checksum and its byte comparison with the others.
// Records whose bytes stay equal to the end share a content class; a record whose
// bytes part from every other is let go at once (unless whole files are asked for)
// and keeps checksum 0, as a file of a unique size does, since it cannot pair.
//
// Memory: the pieces held at once (one per distinct content in the piece being
// compared) stay within piece_budget_bytes, whatever the tree.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "actions/compare.h"
#include "core/file_list.h"

namespace orvkit {

// Which records the pass read to equal bytes, by content class.
class content_classes {
public:
    // The pair's result from the classes, when both records have one and it settles
    // the pair: equal classes are equal bytes (100 %); other classes differ, which
    // settles the pair when only equal bytes make a twin. False: compare the files.
    bool compare(const file_record& a, const file_record& b, const pair_settings& settings,
                 pair_outcome& result) const;
    // The file of `record` was deleted or moved away: it and every record of its class
    // that named the same file (the same path met twice, a link whose path no longer
    // opens) lose their class, so their pairs open the files and find it gone.
    void forget_file(file_record& record);

    // The record leaves the list: its class no longer names it.
    void drop_record(const file_record& record);

    uint32_t add_class(const std::vector<file_record*>& members);
    void clear();

private:
    std::unordered_map<uint32_t, std::vector<file_record*>> members_;  // classes of two or more
    uint32_t next_ = 1;
};

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
