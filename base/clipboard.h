// The clipboard, opened with patience for the programs that hold it for a moment.
#pragma once
#include <windows.h>

namespace orvkit {

// Opens the clipboard for `window`. Clipboard viewers, history and remote-desktop
// helpers open it briefly after every change, so this waits up to half a second
// for them instead of giving up at once. False when it stays taken.
bool open_clipboard(HWND window);

}  // namespace orvkit
