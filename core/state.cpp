#include "core/state.h"

#include <shlobj.h>

namespace orvkit {

namespace {
HFONT make_tahoma(int height) {
    return CreateFontW(height, 0, 0, 0, 50, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
}
}  // namespace

ostrand_state::ostrand_state() {
    defset_buffer.reset(GlobalAlloc(GMEM_ZEROINIT, 1024));
    open_dialog.lStructSize = sizeof(OPENFILENAMEW);
    wchar_t desktop[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    deletions.options.move_dir = desktop;
    small_font.reset(make_tahoma(15));
    large_font.reset(make_tahoma(25));
}

// The fonts, icons, bitmaps and the DefSet block go with their owners; the tooltip
// window goes with the thread that made it.
ostrand_state::~ostrand_state() = default;

}  // namespace orvkit
