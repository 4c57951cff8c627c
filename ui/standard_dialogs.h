// The file picker and the help page.
#pragma once
#include <windows.h>

#include <memory>

namespace orvkit {
class ostrand_state;

// Lets the user choose a file; on success leaves it in `picked_path` and returns 1.
int pick_file(std::shared_ptr<ostrand_state> state, HWND window);

// Opens "ReadMe.htm" beside the program with the shell.
void open_help(std::shared_ptr<ostrand_state> state);

}  // namespace orvkit
