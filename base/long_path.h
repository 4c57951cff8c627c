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

// True when a name in the path is "." or "..": resolved in the plain form, literal
// in the long form, so the two forms would name different things.
bool has_dot_segment(const std::wstring& path);

// True when the plain form would trim a name (a trailing dot or space).
bool plain_form_alters(const std::wstring& path);

// A path as typed, made absolute with "." and ".." resolved, so that its long form
// names what the user meant. A path with nothing to resolve is kept exactly.
std::wstring full_path(const std::wstring& path);

// The path upper-cased, for comparing paths the way the file system does.
std::wstring case_key(const std::wstring& path);

// True when `path` is `folder` or lies inside it, by whole names and ignoring case:
// "C:\Photos" holds "C:\Photos\x", not "C:\Photos2\x". Both are made absolute first.
bool path_is_under(const std::wstring& path, const std::wstring& folder);

// folder + "\" + name, without doubling a backslash the folder already ends with.
std::wstring join_path(const std::wstring& folder, const std::wstring& name);

}  // namespace orvkit
