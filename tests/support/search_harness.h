// Runs the real search worker against the real main window and reads the rows back.
#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace test_support {

using list_row = std::array<std::wstring, 3>;

// Creates the program's main window and state once per test process, with the data
// folder moved into `data_folder` so parallel tests never share list files.
void start_program(const std::wstring& data_folder);

// Starts the search worker on its own thread, as the Start click does, and pumps
// messages until it has ended. Returns false on a time-out.
bool run_search(DWORD timeout_ms = 60000);
// Starts the worker without waiting (for pause and abort tests).
void start_search();
// What the Abort click does.
void request_abort();

std::vector<list_row> list_rows();

}  // namespace test_support
