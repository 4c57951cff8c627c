// The saved list files in the data folder ("LastList.txt" and its kin): a file
// index written after a search and read back by the Resume commands.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "core/file_list.h"
#include "search/list_format.h"

namespace orvkit {

// Appends `bytes` to the open file; false when they did not all go.
using list_chunk_writer = std::function<bool(HANDLE file, const std::string& bytes)>;

// The writer the program uses: WriteFile until every byte is written.
bool write_list_chunk(HANDLE file, const std::string& bytes);

// Writes `list` as data folder + `name`, first copying the existing file to
// data folder + `backup_name`. The new list replaces the old one whole or not at
// all. `write` puts each chunk of bytes on disk.
void write_list_file(orvFileList& list, const std::wstring& name, const std::wstring& backup_name,
                     const list_chunk_writer& write = write_list_chunk);

// Fills `list` from data folder + `name`; returns the number of records read.
int64_t read_list_file(orvFileList& list, const std::wstring& name);
// Hands each record of data folder + `name` to `sink`, keeping none.
void read_list_records(const std::wstring& name, const list_record_sink& sink);

}  // namespace orvkit
