#include <gtest/gtest.h>

#include "base/path_parts.h"

using namespace orvkit;

TEST(PathParts, SplitAtTheLastBackslash) {
    path_parts parts;
    parts = L"C:\\Program Files\\Ostrand\\Ostrand.exe";
    EXPECT_EQ(parts.folder + L"|" + parts.name + L"|" + parts.root, L"C:\\Program Files\\Ostrand\\|Ostrand.exe|C:\\");
    parts = L"abc";  // too short to split: only the whole path changes
    EXPECT_EQ(parts.full, L"abc");
}
