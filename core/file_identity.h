// Telling whether two paths reach the same file.
#pragma once
#include <windows.h>

#include <string>

#include "base/owner.h"
#include "core/file_list.h"
#include "core/test_seams.h"

namespace orvkit {

// Reads the file index of an open file into `identity`: one cheap query.
void read_file_index(HANDLE file, file_identity& identity);
// Reads the whole identity, volume included, of an open file (dearer: see the definition).
void read_full_identity(HANDLE file, file_identity& identity);

// The file index alone of the file or folder at `path` (cheap); unknown when it
// cannot be opened.
file_identity index_of(const std::wstring& path);

// The full identity, volume included, of the file or folder at `path`; unknown
// parts stay unknown when it cannot be opened.
file_identity identity_of(const std::wstring& path);

// What opening two paths at once tells of them.
enum class pair_identity {
    distinct,  // two files
    same,      // one file (or a file that cannot be told from it)
    unknown,   // the file system names neither file: it cannot be told
};

// The two files of a pair, open for reading at once, and whether they are one file.
struct held_pair {
    unique_handle file;     // opened refusing writers and deleters; null when it cannot be opened
    unique_handle partner;  // null when it cannot be opened (and it is not `file`)
    file_identity file_id, partner_id;
    pair_identity identity = pair_identity::unknown;
};

// Opens `file` refusing writers and deleters, then `partner` refusing readers: when
// both name one file, the second open meets a sharing violation, whatever path,
// link, share name or volume serial led to it. A violation from another reader of
// the partner is told apart by the file indexes. Without one, the same path or the
// same index on one volume also mean one file; without both indexes, the same final
// path, else nothing can be told: unknown.
held_pair hold_pair(const std::wstring& file, const std::wstring& partner);

// True when the two records reach one and the same file: the same path, or the same
// index on the same volume. Equal indexes whose volumes cannot be read or differ
// count as the same file unless opening both shows two files (see hold_pair), so
// a file is never paired with itself. A file that cannot be opened gives false: it
// cannot be compared either, so no pair comes of it.
bool same_file(file_record& a, file_record& b);

}  // namespace orvkit
