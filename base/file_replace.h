// Writing a whole file so that a reader never sees it half written.
#pragma once
#include <windows.h>

#include <string>

namespace orvkit {

// Writes `bytes` to a new file beside `path` and then puts it in `path`'s place in
// one step, replacing any file there. On failure returns the system's error code
// and leaves what stood at `path` as it was; 0 on success.
DWORD replace_file_contents(const std::wstring& path, const std::string& bytes);

}  // namespace orvkit
