#include "shell/folder_browser.h"

#include <shlobj.h>

#include "shell/com_apartment.h"
#include "shell/shell_owners.h"

namespace orvkit {

// The browser needs COM on this thread; the apartment is balanced, so what another
// part of the program started on it stays as it was.
bool browse_for_folder(HWND owner, const wchar_t* title, UINT flags, std::wstring& folder) {
    const com_apartment com;
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = flags;
    const unique_pidl chosen(SHBrowseForFolderW(&browse));
    wchar_t path[MAX_PATH] = {};
    if (!chosen || !SHGetPathFromIDListW(chosen.get(), path) || !path[0]) return false;
    folder = path;
    return true;
}

}  // namespace orvkit
