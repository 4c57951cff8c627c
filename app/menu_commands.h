// What the right-click menu's items do: the options, the commands, and the dialogs
// and pages they open.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace orvkit {
class ostrand_state;

// Carries out the menu command in the low word of `command`. Returns 0.
LRESULT handle_menu_command(HWND window, WPARAM command);

// What the menu commands open, each replaceable by a test. The defaults are the
// About dialog, the diagnostics window, the help page, the Duplicate File Action
// dialog and the shell's folder browser (true and the folder when one was chosen).
struct menu_openers {
    INT_PTR (*about)(HWND owner);
    HWND (*diagnostics)(HWND owner);
    void (*help)(std::shared_ptr<ostrand_state> state);
    int (*details)(HWND window);
    bool (*browse_folder)(HWND owner, std::wstring& folder);
};
extern menu_openers menu_open;

// The folder browser of "Select Move Dir".
bool browse_move_folder(HWND owner, std::wstring& folder);

}  // namespace orvkit
