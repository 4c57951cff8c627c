// Folders the shell knows by name.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace orvkit {

// The path of a known folder (FOLDERID_Documents, ...), without a closing backslash;
// empty when the shell names none.
std::wstring known_folder_path(REFKNOWNFOLDERID id);

}  // namespace orvkit
