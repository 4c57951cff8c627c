// The shell's folder browser.
#pragma once
#include <windows.h>

#include <string>

namespace orvkit {

// Asks for a folder, in a browser owned by `owner` with `title` and the BIF_ `flags`;
// true, with `folder` set, only when the shell names a file-system path for it.
bool browse_for_folder(HWND owner, const wchar_t* title, UINT flags, std::wstring& folder);

}  // namespace orvkit
