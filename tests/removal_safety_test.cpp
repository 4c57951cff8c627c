// Automatic removal over trees that name a file twice, in every delete mode and column.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "base/long_path.h"
#include "core/delete_modes.h"
#include "core/globals.h"
#include "core/state.h"
#include "support/overlapping_trees.h"
#include "support/window_driver.h"

using namespace test_support;

class RemovalSafety : public twin_window_test {};

TEST_F(RemovalSafety, AutomaticRemovalOverOverlappingTreesKeepsACopyOfEveryGroup) {
    remove_when_found = 1;
    for (const tree_shape& shape : overlapping_shapes) {
        for (const uint32_t mode : {orvkit::delete_mode_recycle, orvkit::delete_mode_delete, orvkit::delete_mode_move}) {
            for (const wchar_t column : {L'A', L'B'}) {
                const std::string run = std::string(shape.name) + ", mode " + std::to_string(mode) + ", column " +
                                        static_cast<char>(column);
                overlapping_tree tree(shape);
                temp_folder moved;
                app_state->deletions.delete_mode = mode;
                app_state->deletions.move_dir = moved.path();
                remove_column_a = column == L'A';
                remove_column_b = column == L'B';
                search(shape.mode, tree.search_this(), tree.plus_this());
                tree.expect_a_copy_of_everything_stays(run);
                // No row names a file deleted or moved before it; a recycled one waits for the end.
                int deleted = 0;
                std::set<std::wstring> removed;
                for (int row = 1; row + 1 < list_row_count(); ++row) {
                    const std::wstring file = list_cell(row, column == L'A' ? 0 : 1);
                    for (const int cell : {0, 1})
                        EXPECT_FALSE(removed.count(orvkit::case_key(list_cell(row, cell))))
                            << run << ", row " << row << " names a file removed before it";
                    if (list_cell(row, 2) != std::wstring(L"Deleted ") + column) continue;
                    ++deleted;
                    if (mode != orvkit::delete_mode_recycle) {
                        EXPECT_FALSE(exists(file)) << run << ", row " << row;
                        removed.insert(orvkit::case_key(file));
                    }
                    if (mode == orvkit::delete_mode_recycle) {
                        EXPECT_TRUE(in_trash(file)) << run << ", row " << row;
                    }
                    if (mode == orvkit::delete_mode_move) {
                        EXPECT_TRUE(exists(moved / file.substr(file.rfind(L'\\') + 1))) << run << ", row " << row;
                    }
                }
                EXPECT_GE(deleted, 3) << run << ": a copy of each group goes";
            }
        }
    }
}

// Each removed file counts once however many rows name it; a failed Delete counts nothing.
TEST_F(RemovalSafety, AutomaticRemovalCountsEachRemovedFileOnceAndShowsOnlyWhatWasDone) {
    temp_folder tree;
    const std::wstring files[] = {tree.make_file(L"a1.dat", "identical"), tree.make_file(L"a2.dat", "identical"),
                                  tree.make_file(L"a3.dat", "identical")};
    remove_when_found = 1;
    remove_column_b = 1;
    app_state->deletions.delete_mode = orvkit::delete_mode_delete;
    search(orvkit::mode_directory, tree.path());
    const int rows = list_row_count();
    for (int row = 1; row + 1 < rows; ++row) EXPECT_EQ(list_cell(row, 2), L"Deleted B") << row;
    EXPECT_NE(list_cell(rows - 1, 1).find(L"Total deleted 18 bytes."), std::wstring::npos);
    EXPECT_TRUE(exists(files[0]) && !exists(files[1]) && !exists(files[2]));

    SetFileAttributesW(files[0].c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring twin = tree.make_file(L"a0.dat", "identical");
    search(orvkit::mode_directory, tree.path());
    SetFileAttributesW(files[0].c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(list_row_count(), 3);
    EXPECT_EQ(list_cell(1, 2), L"Not deleted B");
    EXPECT_NE(list_cell(2, 1).find(L"Total deleted 0 bytes."), std::wstring::npos);
    EXPECT_TRUE(exists(files[0]) && exists(twin));
}
