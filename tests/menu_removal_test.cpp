// A search with "Remove duplicates when they are found", Column A and then Column
// B, in each of the three delete modes, every option chosen through the menu.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/menu_commands.h"
#include "support/twin_rows.h"
#include "ui/menu_ids.h"

using namespace test_support;
using namespace orvkit;

namespace {

std::wstring move_folder;  // what the folder browser answers

}  // namespace

class MenuRemoval : public twin_window_test {
protected:
    // Two groups of identical files and a file of the first group's size that
    // differs; searched with removal of `column`, the files going by `delete_command`.
    void search_and_remove(UINT delete_command, wchar_t column) {
        SCOPED_TRACE(std::string("column ") + static_cast<char>(column));
        temp_folder tree;  // its name is unique in the run: so are the names made from it
        const std::wstring tag = tree.path().substr(tree.path().rfind(L'\\') + 1);
        const std::string one(300, '1'), two(700, '2');
        const std::vector<std::vector<std::wstring>> groups = {
            {tree.make_file(L"a\\" + tag + L"_1a.bin", one), tree.make_file(L"b\\" + tag + L"_1b.bin", one)},
            {tree.make_file(L"c\\" + tag + L"_2a.bin", two), tree.make_file(L"d\\" + tag + L"_2b.bin", two),
             tree.make_file(L"e\\" + tag + L"_2c.bin", two)}};
        const std::wstring lone = tree.make_file(L"f\\" + tag + L"_lone.bin", std::string(299, '1') + "x");

        auto command = [&](UINT id) { SendMessageW(window, WM_COMMAND, id, 0); };
        command(delete_command);
        if (!remove_when_found) command(menu_remove_when_found);
        if (column == L'A' ? !remove_column_a : !remove_column_b) command(column == L'A' ? menu_column_a : menu_column_b);
        ASSERT_EQ(column_titles()[2], L"Result");
        search(2, tree.path());

        int removed = 0;
        for (int row = 1; row + 1 < list_row_count(); ++row, ++removed) {
            ASSERT_EQ(list_cell(row, 2), std::wstring(L"Deleted ") + column) << row;
            const std::wstring path = list_cell(row, column == L'A' ? 0 : 1);
            const std::wstring name = path.substr(path.rfind(L'\\') + 1);
            EXPECT_FALSE(exists(path)) << name.c_str();
            EXPECT_EQ(in_trash(path), app_state->deletions.delete_mode == 0) << name.c_str();
            EXPECT_EQ(exists(moved / name), app_state->deletions.delete_mode == 2) << name.c_str();
        }
        EXPECT_GE(removed, 3) << "one of the first group, two of the second";
        for (const auto& group : groups)
            EXPECT_EQ(std::count_if(group.begin(), group.end(), [](const std::wstring& p) { return exists(p); }), 1)
                << "exactly one copy of each group stays";
        EXPECT_TRUE(exists(lone));
    }

    temp_folder moved;
};

TEST_F(MenuRemoval, RecycleDeleteAndMoveToTheChosenFolderColumnAThenColumnB) {
    move_folder = moved.path();
    menu_open.browse_folder = [](HWND, std::wstring& folder) { return folder = move_folder, true; };
    const std::pair<UINT, UINT> modes[] = {{menu_recycle, menu_recycle}, {menu_delete, menu_delete},
                                           {menu_select_move_dir, menu_move_to}};
    for (const auto& [first, then] : modes) {
        search_and_remove(first, L'A');
        search_and_remove(then, L'B');
    }
    EXPECT_EQ(app_state->deletions.move_dir.rfind(moved.path(), 0), 0u) << "the folder chosen through the menu";
}
