// Automatic removal through the real window over trees that name a file twice,
// in every delete mode and column: a copy of every group stays, and a row says
// "Deleted" only for a file that is gone from where it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "base/long_path.h"
#include "core/delete_modes.h"
#include "core/globals.h"
#include "core/state.h"
#include "support/overlapping_trees.h"
#include "support/twin_rows.h"

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
                // A file deleted or moved under one record is gone for its other records
                // too: no later row names it. A recycled file waits for the end of the run.
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
                }
                EXPECT_GE(deleted, 3) << run << ": a copy of each group goes";
            }
        }
    }
}
