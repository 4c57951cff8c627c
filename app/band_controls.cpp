#include "app/band_controls.h"

#include "app/menu_commands.h"
#include "app/window_clicks.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "ui/draw_button.h"

namespace orvkit {

namespace {

const wchar_t* mode_switch_name() {
    static const wchar_t* const names[] = {L"Mode: File", L"Mode: Directory", L"Mode: Quick Dir", L"Mode: QDir+"};
    const uint32_t mode = search_mode;
    return known_mode(mode) ? names[mode] : L"Mode: ";
}

const wchar_t* top_name() {
    if (run_status == status_idle) return L"About";
    return pause_code == pause_paused ? L"Resume" : L"Pause";
}

// Esc and Pause belong to Abort and Pause/Resume, the faces Start and About show
// during a run. Both Choose buttons take Ctrl+O: the one beside the focused path box
// answers it. The ids lie clear of the popup menu's 2000s and the dialogs' ids.
constexpr band_entry table[] = {
    {.control = band_control::mode_switch,
     .face = {face_kind::knob, band_edge::left, 25, 15},
     .hit = {1, 1, 1, 1},
     .hover = &hover_mode,
     .shown = shown_when::no_worker,
     .always_usable = false,
     .name = mode_switch_name,
     .key = {'M', true, key_when::idle, L"Ctrl+M"},
     .command = 3001,
     .press = [](HWND window, int32_t) { next_mode(window); }},
    {.control = band_control::start,
     .face = {face_kind::large_button, band_edge::right, -170, 15},
     .hit = {1, 1, 0, 1},
     .hover = &hover_start,
     .shown = shown_when::always,
     .always_usable = true,
     .name = [] { return worker_running(run_status) ? L"Abort" : L"Start"; },
     .key = {VK_ESCAPE, false, key_when::running, L"Esc"},
     .command = 3002,
     .press = start_or_abort_clicked},
    {.control = band_control::top,
     .face = {face_kind::small_button, band_edge::right, -58, 5},
     .hit = {1, 0, 0, 0},
     .hover = &hover_top,
     .shown = shown_when::always,
     .always_usable = true,
     .name = top_name,
     .key = {VK_PAUSE, false, key_when::running, L"Pause"},
     .command = 3003,
     .press = top_button_clicked},
    {.control = band_control::help,
     .face = {face_kind::small_button, band_edge::right, -58, 27},
     .hit = {1, 0, 0, 0},
     .hover = &hover_help,
     .shown = shown_when::always,
     .always_usable = false,
     .name = [] { return L"Help"; },
     .key = {VK_F1, false, key_when::always, L"F1"},
     .command = 3004,
     .press = [](HWND, int32_t) { menu_open.help(app_state); }},  // the page alone, unlike the menu's Help
    {.control = band_control::choose_a,
     .face = {face_kind::small_button, band_edge::right, -58, 74},
     .hit = {1, 0, 0, -2},
     .hover = &hover_choose_a,
     .shown = shown_when::always,
     .always_usable = false,
     .name = [] { return L"Choose"; },
     .key = {'O', true, key_when::idle, L"Ctrl+O"},
     .box = &edit_a,
     .command = 3005,
     .press = [](HWND window, int32_t) { choose_path(window, false); }},
    {.control = band_control::choose_b,
     .face = {face_kind::small_button, band_edge::right, -58, 96},
     .hit = {1, 0, 0, -2},
     .hover = &hover_choose_b,
     .shown = shown_when::path_b,
     .always_usable = false,
     .name = [] { return L"Choose"; },
     .key = {'O', true, key_when::idle, L"Ctrl+O"},
     .box = &edit_b,
     .command = 3006,
     .press = [](HWND window, int32_t) { choose_path(window, true); }},
};

// An entry stands at its control's index, and the ids rise within the 3000s.
constexpr bool table_in_order() {
    for (std::size_t index = 0; index < std::size(table); ++index) {
        if (static_cast<std::size_t>(table[index].control) != index) return false;
        if (table[index].command < 3000 || table[index].command > 3999) return false;
        if (index > 0 && table[index].command <= table[index - 1].command) return false;
    }
    return std::size(table) == static_cast<std::size_t>(band_control::none);
}
static_assert(table_in_order());

bool usable(const band_entry& entry, uint32_t mode, int32_t status) {
    return band_shown(entry, mode, status) && (entry.always_usable || status == status_idle);
}

}  // namespace

std::span<const band_entry> band_table() { return table; }

const band_entry& band_entry_of(band_control control) { return table[static_cast<std::size_t>(control)]; }

RECT band_face(const band_entry& entry, uint32_t w) {
    const SIZE size = face_size(static_cast<int>(entry.face.kind));
    const LONG left = (entry.face.edge == band_edge::right ? static_cast<LONG>(w) : 0) + entry.face.x;
    return {left, entry.face.y, left + size.cx, entry.face.y + size.cy};
}

RECT band_control_face(band_control control, uint32_t w) {
    return control == band_control::none ? RECT{} : band_face(band_entry_of(control), w);
}

band_control band_control_at(POINT at, uint32_t w) {
    for (const band_entry& entry : table) {
        const RECT face = band_face(entry, w);
        const RECT hit{face.left + entry.hit.left, face.top + entry.hit.top, face.right + entry.hit.right,
                       face.bottom + entry.hit.bottom};
        if (PtInRect(&hit, at)) return entry.control;
    }
    return band_control::none;
}

bool band_shown(const band_entry& entry, uint32_t mode, int32_t status) {
    switch (entry.shown) {
    case shown_when::no_worker: return !worker_running(status);
    case shown_when::path_b: return mode_uses_path_b(mode);
    default: return true;
    }
}

bool band_control_available(band_control control) {
    return control != band_control::none && usable(band_entry_of(control), search_mode, run_status);
}

// One read of the run status decides both whether the control may be pressed and
// what the press does.
void press_band_control(HWND window, band_control control) {
    if (control == band_control::none) return;
    const band_entry& entry = band_entry_of(control);
    const int32_t status = run_status;
    if (usable(entry, search_mode, status)) entry.press(window, status);
}

bool take_band_command(HWND window, WPARAM command) {
    if (HIWORD(command) != 0) return false;
    for (const band_entry& entry : table) {
        if (entry.command != LOWORD(command)) continue;
        press_band_control(window, entry.control);
        return true;
    }
    return false;
}

}  // namespace orvkit
