// The help page the Help button opens is installed beside the program.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/temp_folder.h"

TEST(HelpPage, SitsBesideTheProgramAndExplainsTheModes) {
    char exe[1024] = {};
    ASSERT_TRUE(GetEnvironmentVariableA("OSTRAND_EXE", exe, sizeof(exe)));
    std::wstring page = test_support::to_windows_path(exe);
    page = page.substr(0, page.rfind(L'\\') + 1) + L"ReadMe.htm";
    ASSERT_TRUE(test_support::exists(page)) << "missing beside the program";
    const std::string text = test_support::read_file(page);
    for (const char* topic : {"Quick Dir", "QDir+", "Match Percentage", "Hash", "Recycle Bin", "Restore"})
        EXPECT_NE(text.find(topic), std::string::npos) << topic;
}
