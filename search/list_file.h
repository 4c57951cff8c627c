// The saved list files in the data folder ("LastList.txt" and its kin): a file
// index written after a search and read back by the Resume commands.
#pragma once
#include <string>

#include "core/file_list.h"

namespace orvkit {

// Writes `list` as data folder + `name`, first copying the existing file to
// data folder + `backup_name`.
void write_list_file(orvFileList& list, const std::wstring& name, const std::wstring& backup_name);

// Fills `list` from data folder + `name`; returns the number of records read.
int64_t read_list_file(orvFileList& list, const std::wstring& name);

}  // namespace orvkit
