// The settings file dVelk.dat in the data folder.
#pragma once
#include <string>

namespace orvkit {

// Reads the options at start-up; a missing or foreign file leaves the defaults. Returns 0.
int read_settings();

// Writes the options when the window closes while idle; a failure is silent and
// leaves the file that was there before.
void write_settings();

// The settings file's path: the data folder followed by "dVelk.dat".
std::wstring settings_file_path();

}  // namespace orvkit
