// What the right-click menu's items do: the options, the commands, and the dialogs
// and pages they open.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "core/test_seams.h"

namespace orvkit {
class ostrand_state;

// Carries out the menu command in the low word of `command`. Returns 0.
LRESULT handle_menu_command(HWND window, WPARAM command);


// The folder browser of "Select Move Dir".
bool browse_move_folder(HWND owner, std::wstring& folder);

}  // namespace orvkit
