// A search with "Remove duplicates when they are found", Column A and then Column
// B, in each of the three delete modes, every option chosen through the menu.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/window_driver.h"
#include "ui/menu_ids.h"
#include "ui/popup_menu.h"

using namespace test_support;
using namespace orvkit;

namespace {

std::wstring move_folder;  // what the folder browser answers

class MenuRemoval : public main_window_test {
protected:
    void SetUp() override {
        main_window_test::SetUp();
        app_state->data_path = data.path() + L"\\";
        move_folder = moved.path();
        menu_open.browse_folder = [](HWND, std::wstring& folder) { return folder = move_folder, true; };
        char xdg[1024] = {};
        ASSERT_TRUE(GetEnvironmentVariableA("XDG_DATA_HOME", xdg, sizeof(xdg))) << "run through scripts/test.sh";
        trash = to_windows_path(xdg) + L"\\Trash\\files";
    }
    void command(UINT id) { SendMessageW(window, WM_COMMAND, id, 0); }

    // Two groups of identical files and a file of the first group's size that
    // differs; searched with removal of `column`, the files going by `delete_command`.
    void search_and_remove(UINT delete_command, wchar_t column) {
        temp_folder tree;  // its name is unique in the run: so are the names made from it
        const std::wstring tag = tree.path().substr(tree.path().rfind(L'\\') + 1);
        const std::string one(300, '1'), two(700, '2');
        const std::vector<std::vector<std::wstring>> groups = {
            {tree.make_file(L"a\\" + tag + L"_1a.bin", one), tree.make_file(L"b\\" + tag + L"_1b.bin", one)},
            {tree.make_file(L"c\\" + tag + L"_2a.bin", two), tree.make_file(L"d\\" + tag + L"_2b.bin", two),
             tree.make_file(L"e\\" + tag + L"_2c.bin", two)}};
        const std::wstring lone = tree.make_file(L"f\\" + tag + L"_lone.bin", std::string(299, '1') + "x");

        command(delete_command);
        if (!remove_when_found) command(menu_remove_when_found);
        if (column == L'A' ? !remove_column_a : !remove_column_b) command(column == L'A' ? menu_column_a : menu_column_b);
        ASSERT_EQ(column_titles()[2], L"Result");
        SetWindowTextW(edit_a, tree.path().c_str());
        click_at(start);
        ASSERT_TRUE(pump_until([] {
            return run_status == orvkit::status_idle && list_row_count() > 1 && list_cell(list_row_count() - 1, 0) == L"Finished";
        }, 30000));

        const std::wstring deleted = std::wstring(L"Deleted ") + column;
        int removed = 0;
        for (int row = 1; row + 1 < list_row_count(); ++row) {
            ASSERT_EQ(list_cell(row, 2), deleted) << row;
            const std::wstring path = list_cell(row, column == L'A' ? 0 : 1);
            const std::wstring name = path.substr(path.rfind(L'\\') + 1);
            EXPECT_FALSE(exists(path)) << name.c_str();
            EXPECT_EQ(exists(trash + L"\\" + name), app_state->deletions.delete_mode == 0) << name.c_str();
            EXPECT_EQ(exists(moved / name), app_state->deletions.delete_mode == 2) << name.c_str();
            ++removed;
        }
        EXPECT_GE(removed, 3) << "one of the first group, two of the second";
        for (const auto& group : groups) {
            int left = 0;
            for (const std::wstring& path : group) left += exists(path);
            EXPECT_EQ(left, 1) << "exactly one copy of each group stays";
        }
        EXPECT_TRUE(exists(lone));
    }

    temp_folder data, moved;
    std::wstring trash;
};

}  // namespace

TEST_F(MenuRemoval, RecycleColumnAThenColumnB) {
    search_and_remove(menu_recycle, L'A');
    search_and_remove(menu_recycle, L'B');
}

TEST_F(MenuRemoval, DeleteColumnAThenColumnB) {
    search_and_remove(menu_delete, L'A');
    search_and_remove(menu_delete, L'B');
}

TEST_F(MenuRemoval, MoveToTheChosenFolderColumnAThenColumnB) {
    search_and_remove(menu_select_move_dir, L'A');
    EXPECT_EQ(app_state->deletions.move_dir.rfind(moved.path(), 0), 0u) << "the folder chosen through the menu";
    search_and_remove(menu_move_to, L'B');
}
