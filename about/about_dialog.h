// The About dialog: the program's name, where its file and the user's data are,
// and a button that opens both folders. Opened by show_about_dialog
// (app/dialog_openers.h).
#pragma once
#include <windows.h>

namespace orvkit {

// How "Open Dirs" asks the shell to open a folder: ShellExecuteW's own signature,
// so a test can put a recorder here instead of starting the file manager.
using shell_execute_function = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
extern shell_execute_function about_shell_execute;

}  // namespace orvkit
