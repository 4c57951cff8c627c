#include "app/window_hover.h"

#include <windowsx.h>

#include "app/band_controls.h"
#include "app/window_geometry.h"

namespace orvkit {

namespace {

// Only the face changes when it lights: it is painted over, unerased, with a unit
// around it for the rounding of its scaled edges.
void repaint_face(HWND window, const band_entry& entry) {
    RECT area = band_face(entry, band_width());
    InflateRect(&area, 1, 1);
    area = scaled_rect(area);
    InvalidateRect(window, &area, FALSE);
}

// Clears every lit flag but `keep`.
void clear_others(HWND window, const uint8_t* keep) {
    for (const band_entry& entry : band_table()) {
        if (entry.hover == keep || !*entry.hover) continue;
        *entry.hover = 0;
        repaint_face(window, entry);
    }
}

band_control lit_control() {
    for (const band_entry& entry : band_table())
        if (*entry.hover) return entry.control;
    return band_control::none;
}

}  // namespace

// A click acts on the lit flag, so at most one control is lit at a time: moving
// straight from one to another must not leave the first one armed.
LRESULT on_mouse_move(HWND window, LPARAM position) {
    const POINT at{unscaled(GET_X_LPARAM(position)), unscaled(GET_Y_LPARAM(position))};
    const band_control control = band_control_at(at, band_width());
    const band_entry* lit = band_control_available(control) ? &band_entry_of(control) : nullptr;
    if (lit && *lit->hover) return 1;
    clear_others(window, lit ? lit->hover : nullptr);
    if (lit) {
        *lit->hover = 1;
        repaint_face(window, *lit);
    }
    return 1;
}

LRESULT on_left_button_up(HWND window) {
    press_band_control(window, lit_control());
    return 1;
}

}  // namespace orvkit
