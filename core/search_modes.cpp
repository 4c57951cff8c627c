#include "core/search_modes.h"

#include "core/globals.h"

namespace orvkit {

void show_path_box_b(uint32_t mode) { ShowWindow(edit_b, mode_uses_path_b(mode) ? SW_SHOWNORMAL : SW_HIDE); }

}  // namespace orvkit
