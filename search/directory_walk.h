// Indexes a folder tree into a file list: one record per file with size, times and
// marker flag; removes empty folders on request. (The checksums follow the walk, for
// the files that can pair: search/checksum_pass.h.)
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text_arena.h"
#include "core/file_list.h"

namespace orvkit {

// The folders one walk has entered, by file index, with their paths: the volume,
// dear to read under Wine, is read only to settle two folders of the same index.
// Kept in a few large blocks (an open-addressing table over an array, the paths in
// an arena), so a walk of many folders leaves no hole per folder in the heap.
class entered_folders {
public:
    // Calls `visit` with the path of each folder entered with `index` until it returns true; true then.
    template <typename Visit>
    bool any_with_index(uint64_t index, Visit visit) const {
        if (table_.empty()) return false;
        for (std::size_t slot = slot_for(index); table_[slot]; slot = (slot + 1) & (table_.size() - 1)) {
            const entry& found = entries_[table_[slot] - 1];
            if (found.index == index && visit(std::wstring(found.path))) return true;
        }
        return false;
    }
    void add(uint64_t index, const std::wstring& path);

private:
    struct entry {
        uint64_t index;
        const wchar_t* path;
    };
    std::size_t slot_for(uint64_t index) const;
    std::vector<entry> entries_;
    std::vector<uint32_t> table_;  // an entry's number plus one; 0: an empty slot
    text_arena paths_;
};

// What one walk remembers beyond its list: the folders it has entered, by volume
// serial number and file index, so a link looping back up the tree ends and a tree
// reached twice within one walk is indexed once.
struct walk_context {
    orvFileList& list;
    entered_folders entered;
};

// Indexes `folder` and everything below it into `list`; the search passes marked = false.
void walk_folder(orvFileList& list, const std::wstring& folder, bool marked);

// Handles one directory entry of `folder`; recursion into subfolders goes through here.
// `beyond_link`: `folder` is a link or lies below one, so no folder below is removed.
void add_entry(walk_context& walk, const WIN32_FIND_DATAW& entry, const std::wstring& folder, bool marked,
               bool beyond_link);

}  // namespace orvkit
