#include "app/band_focus.h"

#include "app/window_geometry.h"

namespace orvkit {

namespace {

band_control focused = band_control::none;
bool window_has_focus = false;  // the main window itself, not one of its children

void repaint_focus_mark(HWND window, band_control control) {
    if (control == band_control::none) return;
    RECT mark = scaled_rect(focus_mark_rect(band_control_face(control, band_width())));
    InvalidateRect(window, &mark, TRUE);
}

}  // namespace

band_control focused_band_control() { return focused; }

void focus_band_control(HWND window, band_control control) {
    repaint_focus_mark(window, focused);
    focused = control;
    repaint_focus_mark(window, focused);
    SetFocus(window);
}

LRESULT on_focus_change(HWND window, bool gained) {
    window_has_focus = gained;
    repaint_focus_mark(window, focused);
    return 0;
}

band_control marked_band_control() {
    return window_has_focus && band_control_available(focused) ? focused : band_control::none;
}

void clear_band_focus(HWND window) {
    repaint_focus_mark(window, focused);
    focused = band_control::none;
}

}  // namespace orvkit
