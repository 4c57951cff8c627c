// Indexes a folder tree into a file list: one record per file with size, times,
// marker flag and, when asked, the content checksum; removes empty folders on request.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>

#include "search/file_list.h"

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

// Checksum of the file's content, read through the list's buffer; honours the list's
// stop request. 0 when the file cannot be opened. Reads the file's index into
// `identity` when given.
uint32_t content_checksum(const std::wstring& path, orvFileList& list, file_identity* identity = nullptr);

}  // namespace orvkit
