// The recycle bin: sending files to it, and its items, read from the bin's own records, never from the texts the
// shell shows (those hide known extensions and are translated). On Windows a file
// recycled from a drive lies in X:\$Recycle.Bin\<user SID>\ as "$R<id><ext>" beside a
// "$I<id><ext>" record of its original path, size and deletion time; under Wine it
// lies in the freedesktop trash (Trash\files\<name>, described by
// Trash\info\<name>.trashinfo).
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvkit {

enum class recycle_result { done, aborted, failed };

// Sends the NUL-separated, double-NUL-terminated `paths` to the recycle bin in one
// shell operation with the FOF_ `flags`, its boxes owned by `owner`: done, aborted
// (by the user, or where the shell kept a file it was asked whether to destroy), or
// failed.
recycle_result send_to_recycle_bin(HWND owner, const wchar_t* paths, FILEOP_FLAGS flags);

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

// The items the bin took at or after a moment, read once for a whole list of files
// just recycled: only records made since then are read, so a full bin costs a look at
// its folder, not a read of every record.
class recent_bin_items {
public:
    // The bins of `originals` (one per drive on Windows), items taken since `since`.
    recent_bin_items(const std::vector<std::wstring>& originals, uint64_t since);
    // The newest item made of `original`, of `size` bytes, that no earlier call took.
    // False when the bin holds none: the file was destroyed, or went to a bin this
    // program cannot read (a share's, or a redirected folder's).
    bool take(const std::wstring& original, uint64_t size, bin_item& found);

private:
    std::vector<bin_item> items_;
    std::unordered_multimap<std::string, std::size_t> by_original_;  // match key -> index in items_
    std::vector<bool> taken_;
};

// The item at `item` as the bin describes it now; false when the item or its record
// is gone or unreadable.
bool read_bin_item(const std::wstring& item, bin_item& found);

// Moves the item back to its original path (never over a file that took the path,
// making the folders a removal of empty folders may have taken) and deletes its
// record. "" when it is back, else why not.
std::wstring restore_bin_item(const bin_item& item);

// The items of one Windows bin folder ("X:\$Recycle.Bin\<SID>\") whose records were
// made at or after `since`; also how tests read a bin laid out by hand.
std::vector<bin_item> windows_bin_items(const std::wstring& folder, uint64_t since = 0);

}  // namespace orvkit
