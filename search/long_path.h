// Path forms for the file system calls.
#pragma once
#include <string>

namespace orvkit {

// "\\?\" followed by the path, which lifts the plain-path length limit. A UNC path
// becomes "\\?\UNC\server\share\..."; a path already in that form is kept, and a
// relative one, which has no long form, is returned unchanged.
std::wstring long_path(const std::wstring& path);

// The plain path while the plain form reaches the same name (it fits the length
// limit, no name ends in a dot or space), otherwise its long form. For calls that
// should still accept what users type: forward slashes, relative paths, "..".
std::wstring system_path(const std::wstring& path);

// folder + "\" + name, without doubling a backslash the folder already ends with.
std::wstring join_path(const std::wstring& folder, const std::wstring& name);

}  // namespace orvkit
