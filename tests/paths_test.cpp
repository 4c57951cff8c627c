// The path forms handed to the file system calls, and a path split into its parts.
#include <gtest/gtest.h>

#include <tuple>

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

// By whole names, ignoring case and a closing backslash; a drive's root holds everything on it.
TEST(LongPath, AFolderHoldsThePathsUnderIt) {
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"C:\\Photos\\x", L"C:\\Photos", true},      {L"c:\\photos\\a\\b", L"C:\\PHOTOS\\", true},
        {L"C:\\Photos2\\x", L"C:\\Photos", false},    {L"C:\\Photos", L"C:\\Photos", true},
        {L"C:\\Pho", L"C:\\Photos", false},             {L"C:\\x\\..\\Photos\\y", L"C:\\Photos", true},
        {L"D:\\any", L"D:\\", true},                    {L"C:\\Photos\\x", L"", false}};
    for (const auto& [path, folder, under] : cases) EXPECT_EQ(path_is_under(path, folder), under) << path << " in " << folder;
}

TEST(PathSplit, GivesTheFolderNameAndRoot) {
    path_parts parts;
    parts = L"C:\\Program Files\\Ostrand\\Ostrand.exe";
    EXPECT_EQ((std::vector{parts.folder, parts.name, parts.root}),
              (std::vector<std::wstring>{L"C:\\Program Files\\Ostrand\\", L"Ostrand.exe", L"C:\\"}));
    parts = L"abc";  // too short to split: only the whole path changes
    EXPECT_EQ(parts.full, L"abc");
}
