#include "app/window_hover.h"

#include <windowsx.h>

#include "app/band_controls.h"
#include "app/window_geometry.h"
#include "core/globals.h"

namespace orvkit {

namespace {

// The control whose hit area holds (x, y), in the band's units.
band_control control_under(int x, int y) {
    const uint32_t w = band_width();
    if (in_right_column(x, w)) {
        if (in_top_band(y)) return band_control::top;
        if (in_help_band(y)) return band_control::help;
        if (in_choose_a_band(y)) return band_control::choose_a;
        if (in_choose_b_band(y)) return band_control::choose_b;
        return band_control::none;
    }
    if (in_mode_switch_columns(x) && in_switch_rows(y)) return band_control::mode_switch;
    if (in_start_columns(x, w) && in_switch_rows(y)) return band_control::start;
    return band_control::none;
}

// The flag of the button under the pointer, or null when there is none or it cannot
// be used now (the rule the keys and the accessibility object follow too).
uint8_t* button_under(int x, int y) {
    const band_control control = control_under(x, y);
    return band_control_available(control) ? hover_flag(control) : nullptr;
}

RECT area_of(const uint8_t* flag) {
    if (flag == &hover_mode) return scaled_rect(mode_switch_rect);
    if (flag == &hover_start) return scaled_rect(start_button_rect(band_width()));
    return scaled_rect(right_column_rect(band_width(), static_cast<uint32_t>(unscaled(client_height))));
}

// Clears every lit flag but `keep`; the faces are simply painted over, unerased.
void clear_others(HWND window, const uint8_t* keep) {
    for (band_control control : band_controls) {
        uint8_t* flag = hover_flag(control);
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
