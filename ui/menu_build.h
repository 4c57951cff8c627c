// Builds the popup menu from the current state.
#pragma once
#include <windows.h>

namespace orvkit {

// The main menu and its three submenus. The owner destroys each exactly once:
// the main menu takes the submenus attached to it along, and the settings
// submenu, left out while a worker runs, is destroyed on its own then.
class popup_menu_set {
public:
    popup_menu_set() = default;
    popup_menu_set(const popup_menu_set&) = delete;
    popup_menu_set& operator=(const popup_menu_set&) = delete;
    popup_menu_set(popup_menu_set&& other) noexcept;
    popup_menu_set& operator=(popup_menu_set&&) = delete;
    ~popup_menu_set();

    HMENU main = nullptr;
    HMENU settings = nullptr;
    HMENU batch_delete = nullptr;
    HMENU percentage = nullptr;
    bool settings_attached = false;  // "Settings" is on the main menu
};

// Builds the menu as the state now stands. A run_status of 2000 (the window saw
// the click while idle) adds the idle-only section and is set back to 0; only
// then is "Settings" offered.
popup_menu_set build_popup_menu();

}  // namespace orvkit
