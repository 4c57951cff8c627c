#include "shell/known_folders.h"

#include <shlobj.h>

#include "shell/shell_owners.h"

namespace orvkit {

std::wstring known_folder_path(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    const HRESULT found = SHGetKnownFolderPath(id, 0, nullptr, &path);
    const unique_cotaskmem<wchar_t> owned(path);  // freed whatever the call returned
    return SUCCEEDED(found) && path ? std::wstring(path) : std::wstring();
}

}  // namespace orvkit
