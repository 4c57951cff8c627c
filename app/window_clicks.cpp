#include "app/window_clicks.h"

#include <string>

#include "app/menu_commands.h"
#include "app/run_control.h"
#include "app/window_geometry.h"
#include "app/worker_start.h"
#include "base/long_path.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "ui/results_list.h"
#include "ui/standard_dialogs.h"

namespace orvkit {

namespace {

void repaint_band(HWND window) {
    const RECT band = scaled_rect(top_band_rect(band_width()));
    InvalidateRect(window, &band, TRUE);
}

// At most 1199 characters, as the path boxes hold; `path` keeps its reserved room.
// The path as typed, made absolute with "." and ".." resolved: the walk and the
// file opens use the long form, which would take them literally.
void read_path_box(HWND edit, std::wstring& path) {
    wchar_t text[1200] = {};
    const int length = GetWindowTextW(edit, text, 1200);
    path = full_path(std::wstring(text, length > 0 ? length : 0));
}


void start_clicked(HWND window) {
    list_clear();
    read_path_box(edit_a, path_a);
    if (path_a.empty()) return;
    if (mode_uses_path_b(search_mode)) {
        read_path_box(edit_b, path_b);
        if (path_b.empty()) return;
    }
    if (const std::shared_ptr<orvFileList> loaded = app_state->loaded_list.load()) loaded->clear();
    start_worker(window);
}

}  // namespace

void choose_path(HWND window, bool for_b) {
    if (pick_file(app_state, window) != 1) return;
    SetWindowTextW(for_b && mode_uses_path_b(search_mode) ? edit_b : edit_a, picked_path.c_str());
}

void top_button_clicked(HWND window, int32_t status) {
    if (status == status_idle)
        menu_open.about(window);
    else
        toggle_pause();
    repaint_band(window);
}

void choose_mode(HWND window, uint32_t mode) {
    search_mode = mode;
    set_list_columns(window);
    repaint_band(window);
}

void next_mode(HWND window) {
    const uint32_t mode = search_mode;
    choose_mode(window, mode >= mode_qdir_plus ? mode_file : mode + 1);  // also brings a foreign mode back into range
}

void start_or_abort_clicked(HWND window, int32_t status) {
    repaint_band(window);
    if (status != status_idle)
        abort_run();
    else
        start_clicked(window);
}

}  // namespace orvkit
