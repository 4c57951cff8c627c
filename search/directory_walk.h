// Indexes a folder tree into a file list: one record per file with size, times and
// marker flag; removes empty folders on request. (The checksums follow the walk, for
// the files that can pair: search/checksum_pass.h.)
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>

#include "core/file_list.h"

namespace orvkit {

// What one walk remembers beyond its list: the folders it has entered, by volume
// serial number and file index, so a link looping back up the tree ends and a tree
// reached twice within one walk is indexed once.
struct walk_context {
    orvFileList& list;
    // By file index, with the path: the volume, dear to read under Wine, is read
    // only to settle two folders of the same index.
    std::unordered_multimap<uint64_t, std::wstring> entered_folders;
};

// Indexes `folder` and everything below it into `list`; the search passes marked = false.
void walk_folder(orvFileList& list, const std::wstring& folder, bool marked);

// Handles one directory entry of `folder`; recursion into subfolders goes through here.
// `beyond_link`: `folder` is a link or lies below one, so no folder below is removed.
void add_entry(walk_context& walk, const WIN32_FIND_DATAW& entry, const std::wstring& folder, bool marked,
               bool beyond_link);

}  // namespace orvkit
