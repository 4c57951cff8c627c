// The column delete's last-copy guard: before a file is handed to the deletion
// queue, its row is checked again, since the list may be old and a column can hold
// every copy of a file.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>

#include "search/file_list.h"

namespace orvkit {

// What a row's second look found.
enum class twin_verdict {
    still_twin,    // the twin exists, is another file, is kept, and is equal byte for byte
    twin_missing,  // the twin can no longer be opened
    twin_changed,  // the two files differ now (size or content)
    same_file,     // both cells reach one file: same path, a hard link, a link
    twin_removed,  // the twin was itself handed to the queue earlier in this batch
    file_gone,     // the file to remove can no longer be opened: nothing to do
};

// The files handed to the deletion queue in one batch, by path and by identity. With
// the recycle bin a queued file still exists until the flush, so existence alone
// cannot tell that it is on its way out.
class handed_files {
public:
    void add(const std::wstring& path, const file_identity& identity);
    bool holds(const std::wstring& path, const file_identity& identity) const;

private:
    std::unordered_set<std::wstring> paths_;               // case_key of each path
    std::set<std::pair<uint32_t, uint64_t>> identities_;   // volume serial, file index
};

// Checks the row (file, twin) again; `identity` is the file's (identity_of), read
// by the caller before it hands the file over.
twin_verdict recheck_twin(const std::wstring& file, const file_identity& identity, const std::wstring& twin,
                          const handed_files& handed);

// True when both files can be read and hold the same bytes: one streaming read of
// each, no pause or abort, since a stop request is honoured between rows.
bool equal_contents(const std::wstring& first, const std::wstring& second);

}  // namespace orvkit
