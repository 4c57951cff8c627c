// The settings file dVelk.dat in the data folder.
#pragma once

namespace orvkit {

// Reads the options at start-up; a missing or foreign file leaves the defaults. Returns 0.
int read_settings();

// Writes the options when the window closes while idle; a failure is silent.
void write_settings();

}  // namespace orvkit
