// The recycle bin's items, read from the bin's own records, never from the texts the
// shell shows (those hide known extensions and are translated). On Windows a file
// recycled from a drive lies in X:\$Recycle.Bin\<user SID>\ as "$R<id><ext>" beside a
// "$I<id><ext>" record of its original path, size and deletion time; under Wine it
// lies in the freedesktop trash (Trash\files\<name>, described by
// Trash\info\<name>.trashinfo).
#pragma once
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace orvkit {

struct bin_item {
    std::wstring item;      // the recycled file as it lies in the bin
    std::wstring record;    // the bin's record of it
    std::wstring original;  // the path it was recycled from
    uint64_t size = 0;      // of the item in the bin
    uint64_t taken_at = 0;  // when the bin took it, FILETIME ticks (UTC)
    std::wstring time;      // the same as the record writes it
};

// FILETIME ticks (UTC) now.
uint64_t ticks_now();

// The item the bin made of `original` at or after `since`, of `size` bytes, and not
// one of `claimed` (items already taken for other files): the newest such. False
// when the bin holds none, since the file was destroyed or went to a bin this
// program cannot read (a share's, or a redirected folder's).
bool find_bin_item(const std::wstring& original, uint64_t size, uint64_t since,
                   const std::unordered_set<std::wstring>& claimed, bin_item& found);

// The item at `item` as the bin describes it now; false when the item or its record
// is gone or unreadable.
bool read_bin_item(const std::wstring& item, bin_item& found);

// Moves the item back to its original path (never over a file that took the path,
// making the folders a removal of empty folders may have taken) and deletes its
// record. "" when it is back, else why not.
std::wstring restore_bin_item(const bin_item& item);

// The items of one Windows bin folder ("X:\$Recycle.Bin\<SID>\") recycled from
// `original` (any letter case); also how tests read a bin laid out by hand.
std::vector<bin_item> windows_bin_items(const std::wstring& folder, const std::wstring& original);

}  // namespace orvkit
