#include "base/path_parts.h"

namespace orvkit {

// A path shorter than four characters, or one without a backslash, leaves the
// folder and name as they were.
path_parts& path_parts::operator=(const std::wstring& path) {
    full = path;
    if (path.size() >= 4) {
        const auto slash = path.rfind(L'\\');
        if (slash != std::wstring::npos) {
            folder = path.substr(0, slash + 1);
            name = path.substr(slash + 1);
        }
        root = path.substr(0, 3);
    }
    return *this;
}

}  // namespace orvkit
