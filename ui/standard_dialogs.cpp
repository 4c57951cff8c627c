#include "ui/standard_dialogs.h"

namespace orvkit {

// Placeholders until the dialogs land.
int pick_file(std::shared_ptr<ostrand_state>, HWND) { return 0; }
void open_help(std::shared_ptr<ostrand_state>) {}

}  // namespace orvkit
