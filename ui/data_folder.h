// Where the program lives and where it keeps the user's data.
#pragma once
#include <memory>
#include <string>

namespace orvkit {
class ostrand_state;

// Fills the state's program_path, data_path and defset_buffer from the running
// program's own file; returns 0. A null state changes nothing.
int locate_folders(std::shared_ptr<ostrand_state> state);

// The same decision for the program file `program_file` on a drive that is or is
// not removable: with "DefSet.txt" beside the program on a fixed drive, the data
// folder is the per-user folder (created here); otherwise the program's folder.
int locate_folders_at(ostrand_state& state, const std::wstring& program_file, bool removable_drive);

}  // namespace orvkit
