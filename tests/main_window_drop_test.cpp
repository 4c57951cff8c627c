// Files and folders dropped onto the main window in each mode.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "support/temp_folder.h"
#include "support/window_fixture.h"

using namespace test_support;

namespace {

class MainWindowDrops : public main_window_test {
protected:
    void SetUp() override {
        main_window_test::SetUp();
        file_1 = folder.make_file(L"one.txt", "1");
        file_2 = folder.make_file(L"two", "2");  // a file without a dot
        dotted_folder = folder.make_folder(L"j.smith\\Photos.2024");
        plain_folder = folder.make_folder(L"plain");
        missing = folder / L"gone";
    }
    void use_mode(uint32_t mode) {
        search_mode = mode;
        SetWindowTextW(edit_a, L"");
        SetWindowTextW(edit_b, L"");
    }
    temp_folder folder;
    std::wstring file_1, file_2, dotted_folder, plain_folder, missing;
};

}  // namespace

TEST_F(MainWindowDrops, FileModeFillsAThenBInTurnWithFilesOnly) {
    use_mode(0);
    drop_names(window, {file_1});
    drop_names(window, {file_2});
    EXPECT_EQ(window_text(edit_a), file_1);
    EXPECT_EQ(window_text(edit_b), file_2);

    drop_names(window, {plain_folder});
    drop_names(window, {dotted_folder});
    drop_names(window, {missing});
    EXPECT_EQ(window_text(edit_a), file_1) << "folders and missing names are ignored";
    EXPECT_EQ(window_text(edit_b), file_2);

    drop_names(window, {file_2, file_1});  // only the first name counts
    EXPECT_EQ(window_text(edit_a), file_2);
    EXPECT_EQ(window_text(edit_b), file_2);
}

TEST_F(MainWindowDrops, DirectoryAndQuickDirTakeFoldersEvenWithDotsInTheirNames) {
    for (uint32_t mode : {1u, 2u}) {
        use_mode(mode);
        drop_names(window, {dotted_folder});
        EXPECT_EQ(window_text(edit_a), dotted_folder) << "mode " << mode;
        drop_names(window, {file_1});
        drop_names(window, {file_2});
        drop_names(window, {missing});
        EXPECT_EQ(window_text(edit_a), dotted_folder) << "mode " << mode;
        drop_names(window, {plain_folder});
        EXPECT_EQ(window_text(edit_a), plain_folder) << "mode " << mode;
        EXPECT_EQ(window_text(edit_b), L"") << "mode " << mode;
    }
}

TEST_F(MainWindowDrops, QDirPlusAndBusyWindowIgnoreDrops) {
    use_mode(3);
    drop_names(window, {plain_folder});
    drop_names(window, {file_1});
    EXPECT_EQ(window_text(edit_a), L"");
    EXPECT_EQ(window_text(edit_b), L"");

    use_mode(2);
    run_status = 201;
    drop_names(window, {plain_folder});
    EXPECT_EQ(window_text(edit_a), L"");
    run_status = 0;
}

TEST_F(MainWindowDrops, NameLongerThanAPathBoxIsRefusedWhole) {
    use_mode(1);
    std::wstring deep = folder.path();
    while (deep.size() < 1300) deep += L"\\" + std::wstring(60, L'd');
    const std::wstring relative = deep.substr(folder.path().size() + 1);
    ASSERT_EQ(folder.make_folder(relative), deep);
    drop_names(window, {deep});
    EXPECT_EQ(window_text(edit_a), L"") << "a cut name would point elsewhere";
}
