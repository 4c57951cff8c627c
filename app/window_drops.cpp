#include "app/window_drops.h"

#include "base/long_path.h"
#include "core/globals.h"
#include "core/search_modes.h"

namespace orvkit {

namespace {

constexpr UINT path_box_units = 1200;

void take_dropped_name(HDROP drop) {
    // A name longer than a path box holds would be cut into another name: refuse it.
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0 || length >= path_box_units) return;
    wchar_t name[path_box_units] = {};
    DragQueryFileW(drop, 0, name, path_box_units);
    picked_path.assign(name, length);

    // The file system says what the name is: a folder may well have a dot in its
    // name, and a name that no longer exists is neither.
    const DWORD attributes = GetFileAttributesW(long_path(picked_path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    const uint32_t mode = search_mode;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (mode == mode_directory || mode == mode_quick_dir) SetWindowTextW(edit_a, picked_path.c_str());
        return;
    }
    if (mode != mode_file) return;
    if (drop_toggle != 1) {
        SetWindowTextW(edit_a, picked_path.c_str());
        drop_toggle = 1;
    } else {
        SetWindowTextW(edit_b, picked_path.c_str());
        drop_toggle = 0;
    }
}

}  // namespace

LRESULT on_drop_files(HDROP drop) {
    if (run_status == status_idle) take_dropped_name(drop);
    DragFinish(drop);
    return 0;
}

}  // namespace orvkit
