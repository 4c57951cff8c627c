// Undo of the journal's last batch of removals: moved files go back to where they
// were, recycled ones come back through the recycle bin's own Restore command, and
// nothing is ever put back over a file that has since taken the path.
#pragma once
#include <string>

namespace orvkit {

class ostrand_state;

// Restores what can be restored of the last batch, records each restore in the
// journal, and returns the outcome as the row shows it ("N files restored, M could
// not be: ...").
std::wstring undo_last_removal(const ostrand_state& state);

}  // namespace orvkit
