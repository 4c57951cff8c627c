// Undo of the journal's last batch of removals that has ended: moved files go back
// from the move folder, recycled ones from the very items of the recycle bin their
// removal journalled, and nothing is ever put back over a file that has since taken
// the path.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

namespace orvkit {

class ostrand_state;

// Called before each file with the files done so far, their number and the file's
// path; false stops the Undo there.
using undo_progress = std::function<bool(std::size_t done, std::size_t total, const std::wstring& path)>;

// Restores what can be restored of the last batch, records each restore in the
// journal, and returns the outcome as the row shows it ("N files restored, M could
// not be: ...").
std::wstring undo_last_removal(const ostrand_state& state, const undo_progress& progress = {});

}  // namespace orvkit
