#include "ui/popup_menu.h"

#include "ui/menu_build.h"

namespace orvkit {

// The menu lives only for this call: TrackPopupMenuEx returns once it closes, and
// the chosen item arrives afterwards as a posted WM_COMMAND.
int show_popup_menu(HWND window, const POINT* at) {
    const popup_menu_set menus = build_popup_menu();
    POINT pointer{};
    if (at)
        pointer = *at;
    else
        GetCursorPos(&pointer);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenuEx(menus.main, at ? TPM_LEFTALIGN : TPM_RIGHTALIGN, pointer.x, pointer.y, window, nullptr);
    return 1;
}

}  // namespace orvkit
