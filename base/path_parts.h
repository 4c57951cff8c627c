// One path split into its whole, its folder, its name and its root.
#pragma once
#include <string>

namespace orvkit {

// `full` the whole path, `folder` up to and including the last backslash, `name`
// after it, `root` the first three characters ("C:\").
struct path_parts {
    std::wstring full;
    std::wstring folder;
    std::wstring name;
    std::wstring root;

    path_parts& operator=(const std::wstring& path);
};

}  // namespace orvkit
