// Telling whether two paths reach the same file.
#pragma once
#include <windows.h>

#include <string>

#include "core/file_list.h"

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

// True when the two records reach one and the same file: the same path, or the same
// index on the same volume. Equal indexes whose volumes cannot be read count as the
// same file, so a file is never paired with itself. A file that cannot be opened
// gives false: it cannot be compared either, so no pair comes of it.
bool same_file(file_record& a, file_record& b);

}  // namespace orvkit
