// The file picker, the help page and the memory error box.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace orvkit {
class ostrand_state;

// Lets the user choose a file; on success leaves it in `picked_path` and returns
// nonzero. The dialog starts at the file `picked_path` names, or at the user's
// Documents folder when that file cannot be opened.
int pick_file(std::shared_ptr<ostrand_state> state, HWND window);

// Opens "ReadMe.htm" beside the program with the shell.
void open_help(std::shared_ptr<ostrand_state> state);

// The two types the save dialog offers, by their place in its list of types.
constexpr DWORD save_type_csv = 1;
constexpr DWORD save_type_tab_separated = 2;

// The standard save dialog for the results list, owned by `owner`: true with the
// full name chosen in `path` and its type in `type`, false when cancelled. A name
// without an extension gets the chosen type's. The dialog asks before a name that
// exists is replaced.
bool ask_save_path(HWND owner, std::wstring& path, DWORD& type);

// The "Memory Error" box: a run could not have its comparison blocks.
void show_memory_error();

// The help page's path: the program folder followed by "ReadMe.htm".
std::wstring help_page_path(const ostrand_state& state);

}  // namespace orvkit
