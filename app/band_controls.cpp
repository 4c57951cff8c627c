#include "app/band_controls.h"

#include "app/menu_commands.h"
#include "app/window_clicks.h"
#include "app/window_geometry.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "core/state.h"

namespace orvkit {

namespace {

band_control focused = band_control::none;
bool window_has_focus = false;  // the main window itself, not one of its children

const wchar_t* mode_name(uint32_t mode) {
    static const wchar_t* const names[] = {L"File", L"Directory", L"Quick Dir", L"QDir+"};
    return known_mode(mode) ? names[mode] : L"";
}

void repaint_focus_mark(HWND window, band_control control) {
    if (control == band_control::none) return;
    RECT mark = scaled_rect(focus_mark_rect(band_control_face(control, band_width())));
    InvalidateRect(window, &mark, TRUE);
}

band_control lit_control() {
    for (band_control control : band_controls)
        if (*hover_flag(control)) return control;
    return band_control::none;
}

}  // namespace

RECT band_control_face(band_control control, uint32_t w) {
    const LONG right_column = static_cast<LONG>(w) - 58;
    switch (control) {
    case band_control::mode_switch: return {25, 15, 49, 39};
    case band_control::start: return {static_cast<LONG>(w) - 170, 15, static_cast<LONG>(w) - 70, 39};
    case band_control::top: return {right_column, 5, right_column + 54, 23};
    case band_control::help: return {right_column, 27, right_column + 54, 45};
    case band_control::choose_a: return {right_column, 74, right_column + 54, 92};
    case band_control::choose_b: return {right_column, 96, right_column + 54, 114};
    default: return {};
    }
}

bool band_control_available(band_control control) {
    const bool idle = run_status == status_idle;
    switch (control) {
    case band_control::start:
    case band_control::top: return true;
    case band_control::choose_b: return idle && mode_uses_path_b(search_mode);
    case band_control::none: return false;
    default: return idle;
    }
}

std::wstring band_control_name(band_control control) {
    const bool running = run_status != status_idle;
    switch (control) {
    case band_control::mode_switch: return std::wstring(L"Mode: ") + mode_name(search_mode);
    case band_control::start: return worker_running(run_status) ? L"Abort" : L"Start";
    case band_control::top: return !running ? L"About" : pause_code == pause_paused ? L"Resume" : L"Pause";
    case band_control::help: return L"Help";
    case band_control::choose_a:
    case band_control::choose_b: return L"Choose";
    default: return {};
    }
}

void press_band_control(HWND window, band_control control) {
    if (!band_control_available(control)) return;
    switch (control) {
    case band_control::mode_switch: next_mode(window); break;
    case band_control::start: start_or_abort_clicked(window); break;
    case band_control::top: top_button_clicked(window); break;
    case band_control::help: menu_open.help(app_state); break;
    case band_control::choose_a: choose_path(window, false); break;
    case band_control::choose_b: choose_path(window, true); break;
    default: break;
    }
}

uint8_t* hover_flag(band_control control) {
    switch (control) {
    case band_control::mode_switch: return &hover_mode;
    case band_control::start: return &hover_start;
    case band_control::top: return &hover_top;
    case band_control::help: return &hover_help;
    case band_control::choose_a: return &hover_choose_a;
    case band_control::choose_b: return &hover_choose_b;
    default: return nullptr;
    }
}

LRESULT on_left_button_up(HWND window) {
    press_band_control(window, lit_control());
    return 1;
}

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
