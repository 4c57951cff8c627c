#include "app/window_hover.h"

#include <windowsx.h>

#include "app/window_geometry.h"
#include "core/globals.h"
#include "core/search_modes.h"

namespace orvkit {

namespace {

// The flag of the button under the pointer, or null when there is none or it may
// not light now: Help and the Choose buttons only while idle, the second Choose
// only in the modes with a second path, the mode switch only while idle.
uint8_t* button_under(int x, int y) {
    const uint32_t w = band_width();
    const bool idle = run_status == status_idle;
    if (in_right_column(x, w)) {
        if (in_top_band(y)) return &hover_top;
        if (in_help_band(y)) return idle ? &hover_help : nullptr;
        if (in_choose_a_band(y)) return idle ? &hover_choose_a : nullptr;
        if (in_choose_b_band(y)) return idle && mode_uses_path_b(search_mode) ? &hover_choose_b : nullptr;
        return nullptr;
    }
    if (in_mode_switch_columns(x) && in_switch_rows(y)) return idle ? &hover_mode : nullptr;
    if (in_start_columns(x, w) && in_switch_rows(y)) return &hover_start;
    return nullptr;
}

RECT area_of(const uint8_t* flag) {
    if (flag == &hover_mode) return scaled_rect(mode_switch_rect);
    if (flag == &hover_start) return scaled_rect(start_button_rect(band_width()));
    return scaled_rect(right_column_rect(band_width(), static_cast<uint32_t>(unscaled(client_height))));
}

// Clears every lit flag but `keep`; the faces are simply painted over, unerased.
void clear_others(HWND window, const uint8_t* keep) {
    uint8_t* const flags[] = {&hover_top, &hover_help, &hover_choose_a, &hover_choose_b, &hover_mode, &hover_start};
    for (uint8_t* flag : flags) {
        if (flag == keep || !*flag) continue;
        *flag = 0;
        const RECT area = area_of(flag);
        InvalidateRect(window, &area, FALSE);
    }
}

}  // namespace

// A click acts on the lit flag, so at most one button is lit at a time: moving
// straight from one button to another must not leave the first one armed.
LRESULT on_mouse_move(HWND window, LPARAM position) {
    uint8_t* flag = button_under(unscaled(GET_X_LPARAM(position)), unscaled(GET_Y_LPARAM(position)));
    if (flag && *flag) return 1;
    clear_others(window, flag);
    if (flag) {
        *flag = 1;
        const RECT area = area_of(flag);
        InvalidateRect(window, &area, FALSE);
    }
    return 1;
}

}  // namespace orvkit
