// The controls painted on the band (the mode switch, Start/Abort, About/Pause/Resume,
// Help and the Choose buttons), each described once in one table: how and where its
// face is drawn, where the pointer finds it, the flag that lights it, its name, its
// key, its command id and what pressing it does. The painting, the pointer, the keys
// and the accessibility object all read that table, so moving or changing a control
// is one edit in its entry.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>

namespace orvkit {

// In the table's order, which is reading order: the switch and Start, then the right
// column from the top.
enum class band_control : uint8_t { mode_switch, start, top, help, choose_a, choose_b, none };

// draw_button's kinds; the knob is drawn as `knob` plus the mode.
enum class face_kind : uint8_t { small_button = 0, large_button = 1, knob = 2 };
enum class band_edge : uint8_t { left, right };
// A face's top left corner in the band's 96 DPI units, x counted from the band's
// left or right edge; its size is its kind's.
struct face_place {
    face_kind kind;
    band_edge edge;
    int x;
    int y;
};

// When a control is painted and shown to a screen reader.
enum class shown_when : uint8_t { always, no_worker, path_b };
// When a control's key works.
enum class key_when : uint8_t { always, idle, running };
struct band_key {
    UINT key;           // virtual key
    bool with_control;  // only with Ctrl held; the others work with or without it
    key_when when;
    const wchar_t* text;  // as a screen reader says it
};

struct band_entry {
    band_control control;
    face_place face;
    RECT hit;  // each edge of the hit area, relative to the same edge of the face
    uint8_t* hover;
    shown_when shown;
    bool always_usable;  // else only while idle
    const wchar_t* (*name)();  // read out, and written on a button's face
    band_key key;
    HWND* box;     // the path box it serves: Tab stops there first; Ctrl+O there picks for it
    UINT command;  // the WM_COMMAND id a screen reader's press arrives as
    // Acts as decided on `status`, the run status the press was taken on.
    void (*press)(HWND window, int32_t status);
};

std::span<const band_entry> band_table();
const band_entry& band_entry_of(band_control control);  // not none

// The face of `entry` at band width `w`, in the band's units.
RECT band_face(const band_entry& entry, uint32_t w);
RECT band_control_face(band_control control, uint32_t w);
// The first control in the table whose hit area holds `at` (band units), else none.
band_control band_control_at(POINT at, uint32_t w);
bool band_shown(const band_entry& entry, uint32_t mode, int32_t status);
// Shown and usable now.
bool band_control_available(band_control control);

// Presses `control` as a click does: only when it is available.
void press_band_control(HWND window, band_control control);
// WM_COMMAND: presses the band control whose id it carries (a screen reader's press,
// posted so that a dialog it opens does not hold the reader). False for other ids.
bool take_band_command(HWND window, WPARAM command);

}  // namespace orvkit
