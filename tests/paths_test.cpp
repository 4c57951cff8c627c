// The path forms handed to the file system calls, and a path split into its parts.
#include <gtest/gtest.h>

#include "base/long_path.h"
#include "base/path_parts.h"

using namespace orvkit;

TEST(LongPath, FormsForTheFileSystemCalls) {
    EXPECT_EQ(long_path(L"C:/a/b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(long_path(L"\\\\server\\share\\f"), L"\\\\?\\UNC\\server\\share\\f");
    EXPECT_EQ(long_path(L"\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
    EXPECT_EQ(long_path(L"relative\\f"), L"relative\\f");
    EXPECT_EQ(system_path(L"C:\\a\\..."), L"\\\\?\\C:\\a\\...");
    EXPECT_EQ(system_path(L"C:\\a\\..\\b"), L"C:\\a\\..\\b");
    EXPECT_EQ(full_path(L"C:\\a\\..\\b\\.\\c"), L"C:\\b\\c");
    EXPECT_EQ(full_path(L"C:\\a\\name."), L"C:\\a\\name.") << "nothing to resolve: kept exactly";
}

TEST(PathSplit, GivesTheFolderNameAndRoot) {
    path_parts parts;
    parts = L"C:\\Program Files\\Ostrand\\Ostrand.exe";
    EXPECT_EQ((std::vector{parts.folder, parts.name, parts.root}),
              (std::vector<std::wstring>{L"C:\\Program Files\\Ostrand\\", L"Ostrand.exe", L"C:\\"}));
    parts = L"abc";  // too short to split: only the whole path changes
    EXPECT_EQ(parts.full, L"abc");
}
