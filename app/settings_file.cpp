#include "app/settings_file.h"

#include "app/globals.h"
#include "app/state.h"

namespace orvkit {

// No file is read yet: the options start at their defaults.
int read_settings() {
    search_mode = app_state->settings.mode;
    return 0;
}

}  // namespace orvkit

namespace orvkit {

// Placeholder until the settings file lands.
void write_settings() {}

}  // namespace orvkit
