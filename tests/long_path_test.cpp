#include <gtest/gtest.h>

#include "base/long_path.h"

using namespace orvkit;

TEST(LongPath, Forms) {
    EXPECT_EQ(long_path(L"C:/a/b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(long_path(L"\\\\server\\share\\f"), L"\\\\?\\UNC\\server\\share\\f");
    EXPECT_EQ(long_path(L"\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
    EXPECT_EQ(long_path(L"relative\\f"), L"relative\\f");
    EXPECT_EQ(system_path(L"C:\\a\\..."), L"\\\\?\\C:\\a\\...");
    EXPECT_EQ(system_path(L"C:\\a\\..\\b"), L"C:\\a\\..\\b");
    EXPECT_EQ(full_path(L"C:\\a\\..\\b\\.\\c"), L"C:\\b\\c");
    EXPECT_EQ(full_path(L"C:\\a\\name."), L"C:\\a\\name.") << "nothing to resolve: kept exactly";
}
