// What a recycle bin remembers of each file it holds: the "$I" records Windows keeps
// beside each recycled file, and the ".trashinfo" entries Wine writes to the
// freedesktop.org trash. Plain C++: the readers take any bytes, a cut or foreign
// file included, and say whether they hold one whole, well-formed record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvkit {

// What the recycle bin keeps about one item. On Windows each recycled file becomes
// X:\$Recycle.Bin\<SID>\$R<id><ext> with a "$I" record of the same name beside it.
struct bin_record {
    std::wstring original_path;  // where the file was recycled from
    uint64_t size = 0;           // its size in bytes
    uint64_t deleted_at = 0;     // FILETIME ticks (UTC) of the deletion
    bool operator==(const bin_record&) const = default;
};
// Parses a "$I" record. Version 1 (Windows Vista to 8.1): 8-byte little-endian version 1,
// 8-byte size, 8-byte FILETIME, then 260 UTF-16LE units holding the path NUL-terminated
// (544 bytes in all). Version 2 (Windows 10 and 11): version 2, size, FILETIME, a 4-byte
// count of UTF-16 units including the terminating NUL, then exactly that many units.
// False for anything else: another version, a record cut short, a count of 0 or one that
// runs past the bytes, a path without its NUL or with a NUL inside, an empty path, bytes
// left over after a version-2 path. Never reads past `size`.
bool parse_bin_record(const uint8_t* bytes, std::size_t size, bin_record& record);
// The version-2 record of `record` (what Windows 10 writes): the reader's inverse, used by
// tests that build a bin folder and by the fuzzer's round trip.
std::vector<uint8_t> bin_record_bytes(const bin_record& record);

// A freedesktop.org trash entry ("<name>.trashinfo" in Trash/info), which is what Wine's
// recycle bin writes: a "[Trash Info]" group with "Path=" (absolute, UTF-8, percent-encoded
// per RFC 2396) and "DeletionDate=" (YYYY-MM-DDThh:mm:ss, local time).
struct trash_entry {
    std::string path;           // decoded: the absolute UTF-8 path
    std::string deletion_date;  // as written, checked for the YYYY-MM-DDThh:mm:ss shape
    bool operator==(const trash_entry&) const = default;
};
// False unless the first group is "[Trash Info]" and holds both keys well formed; keys of
// other groups are ignored; CR LF or LF line ends; a bad percent escape, a relative path or
// an embedded NUL after decoding are refused. Never reads past `size`.
bool parse_trash_entry(const char* bytes, std::size_t size, trash_entry& entry);

}  // namespace orvkit
