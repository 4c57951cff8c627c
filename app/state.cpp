#include "app/state.h"

#include <shlobj.h>

namespace orvkit {

path_parts& path_parts::operator=(const std::wstring& path) {
    full = path;
    if (path.size() >= 4) {
        const auto slash = path.rfind(L'\\');
        if (slash != std::wstring::npos) {
            folder = path.substr(0, slash + 1);
            name = path.substr(slash + 1);
        }
        root = path.substr(0, 3);
    }
    return *this;
}

namespace {
HFONT make_tahoma(int height) {
    return CreateFontW(height, 0, 0, 0, 50, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
}
}  // namespace

ostrand_state::ostrand_state() {
    defset_buffer = GlobalAlloc(GMEM_ZEROINIT, 1024);
    open_dialog.lStructSize = sizeof(OPENFILENAMEW);
    wchar_t desktop[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    deletions.move_dir = desktop;
    small_font = make_tahoma(15);
    large_font = make_tahoma(25);
}

// The tooltip window, the bitmaps and defset_buffer are left to the end of the process.
ostrand_state::~ostrand_state() {
    if (small_font) DeleteObject(small_font);
    if (large_font) DeleteObject(large_font);
    if (large_icon) DestroyIcon(large_icon);
    if (small_icon) DestroyIcon(small_icon);
}

}  // namespace orvkit
