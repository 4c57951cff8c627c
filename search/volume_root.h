// The folders Windows keeps for itself at the root of every volume, which the walk
// passes over: the recycle bin and the restore points.
#pragma once
#include <string>

namespace orvkit {

// True when `folder` is the root of a volume: a drive ("X:", "\\?\X:", "\\.\X:") or
// a share ("\\server\share", "\\?\UNC\server\share"), with or without trailing
// backslashes.
bool is_volume_root(const std::wstring& folder);

// True for "$RECYCLE.BIN", "RECYCLER" and "System Volume Information", in any
// letter case.
bool is_volume_system_folder(const std::wstring& name);

}  // namespace orvkit
