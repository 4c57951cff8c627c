// The About dialog: the program's name, where its file and the user's data are,
// and a button that opens both folders.
#pragma once
#include <windows.h>

namespace orvkit {

// Shows the About dialog (resource 1025) modally; what DialogBoxParamW returned
// (-1 when the dialog could not be made).
INT_PTR show_about_dialog(HWND owner);

// How "Open Dirs" asks the shell to open a folder: ShellExecuteW's own signature,
// so a test can put a recorder here instead of starting the file manager.
using shell_execute_function = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
extern shell_execute_function about_shell_execute;

}  // namespace orvkit
