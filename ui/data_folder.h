// Where the program lives and where it keeps the user's data.
#pragma once
#include <memory>

namespace orvkit {
class ostrand_state;

// Fills the state's program_path and data_path; returns 0.
int locate_folders(std::shared_ptr<ostrand_state> state);

}  // namespace orvkit
