#include "ui/popup_menu.h"

#include "app/globals.h"

namespace orvkit {

// Placeholders until the menu lands: the idle marker is consumed, no command acts.
int show_popup_menu(HWND) {
    int32_t menu_opened_idle = status_menu_open;
    run_status.compare_exchange_strong(menu_opened_idle, status_idle);
    return 1;
}

LRESULT handle_menu_command(HWND, WPARAM) { return 0; }

}  // namespace orvkit
