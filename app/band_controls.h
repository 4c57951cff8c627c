// The controls painted on the band (the mode switch, Start/Abort, About/Pause/Resume,
// Help and the Choose buttons): where each lies, whether it can be used now, its name
// and what pressing it does. The mouse, the keys and the accessibility object all
// act through these, so the three cannot drift apart.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace orvkit {

enum class band_control : uint8_t { mode_switch, start, top, help, choose_a, choose_b, none };

// In reading order: the switch and Start, then the right column from the top.
constexpr band_control band_controls[] = {band_control::mode_switch, band_control::start, band_control::top,
                                          band_control::help, band_control::choose_a, band_control::choose_b};

// The painted face of `control` at client width `w`, in the band's 96 DPI units.
RECT band_control_face(band_control control, uint32_t w);
// Shown and usable now: Help, Choose and the switch only while idle, the second
// Choose only in the modes with a second path.
bool band_control_available(band_control control);
// What a screen reader says: the text on the face, or "Mode: " and the mode's name.
std::wstring band_control_name(band_control control);
// What a click on the control does.
void press_band_control(HWND window, band_control control);
// The hover flag that lights the control's face; null for none.
uint8_t* hover_flag(band_control control);
// Posted to the main window to press the control in its wParam later, from the
// window procedure: a screen reader's "press" must not wait in a dialog it opens.
constexpr UINT press_band_message = WM_APP + 1;

// WM_LBUTTONUP: presses the lit control (the hover flags), not the one at the
// click's position, so a click with no movement over a control before it does
// nothing. Returns 1.
LRESULT on_left_button_up(HWND window);

// The control that holds the keyboard focus while the main window itself has it.
band_control focused_band_control();
// Gives the focus to `control` (the main window takes it) and moves the focus mark.
void focus_band_control(HWND window, band_control control);
// WM_SETFOCUS and WM_KILLFOCUS of the main window (`gained`): shows or hides the
// focus mark.
LRESULT on_focus_change(HWND window, bool gained);
// The control with the focus mark: the focused control while the main window itself
// has the keyboard focus and the control can be used, else none.
band_control marked_band_control();
// Forgets the focused control when the focus goes to a child window.
void clear_band_focus(HWND window);

}  // namespace orvkit
