// Checksums carried over from the last saved index: a file that has not changed
// since (the same path, size and last-write time) need not be read for its checksum.
// The checksum only chooses which files are compared; the bytes still decide.
#pragma once
#include <cstdint>
#include <string>

#include "core/file_list.h"

namespace orvkit {

// Gives each record of `walked` whose path, size and last-write time equal a record
// of the list file `index_name` (in the data folder) with a checksum that checksum.
// Returns how many records took one.
uint32_t take_known_checksums(orvFileList& walked, const std::wstring& index_name);

}  // namespace orvkit
