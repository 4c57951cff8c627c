// Mark Only, then "Remove Marked Files", through the real window.
#include "support/removal.h"
#include "ui/menu_ids.h"

using namespace test_support;

using MarkOnly = removal_window_test;

// The search changes nothing on disk and tells what would go; the command then removes exactly the marked files in
// the delete mode chosen, as one batch, and keeps a file edited since it was marked.
TEST_F(MarkOnly, RemoveMarkedFilesRemovesExactlyTheMarkedFiles) {
    const auto offered = [&] { return right_click_menu(window).find(L"Remove Marked Files=2091") != std::wstring::npos; };
    for (const uint32_t mode : {delete_mode_recycle, delete_mode_delete, delete_mode_move}) {
        SCOPED_TRACE(mode);
        temp_folder tree, moved;
        mark_only = 1;
        const std::vector<file> files = search_removing_pairs(mode, tree, moved);
        for (const file& f : files) ASSERT_EQ(read_file(f.path), f.bytes) << narrow(f.path);
        for (int row = 1; row <= 3; ++row) EXPECT_EQ(list_cell(row, 2), L"Would delete B");
        EXPECT_EQ(row_text(4), L"Marked|3 files would be deleted, 303 bytes|");
        EXPECT_NE(list_cell(5, 1).find(L"Total deleted 0 bytes"), std::wstring::npos);
        ASSERT_TRUE(offered());
        const std::wstring edited = files[3].path;  // a marked file: same size, another byte
        tree.make_file(edited.substr(tree.path().size() + 1), "x" + files[3].bytes.substr(1));
        SendMessageW(window, WM_COMMAND, menu_remove_marked, 0);
        ASSERT_TRUE(pump_until(run_ended));
        for (const file& f : files) EXPECT_EQ(exists(f.path), f.path.find(L"\\sub\\") == std::wstring::npos || f.path == edited);
        for (int row = 1; row <= 3; ++row)
            EXPECT_EQ(list_cell(row, 2), list_cell(row, 1) == edited ? L"Not deleted B" : L"Deleted B");
        EXPECT_EQ(list_cell(4, 1), L"2 files removed, 1 kept: twin missing 0, twin changed 1, same file 0, twin "
                                   L"already removed 0, refused 0, protected 0");
        EXPECT_EQ(removals().size(), 2u);
        EXPECT_FALSE(offered());
        DeleteFileW((data_ / L"Removals.txt").c_str());
    }
}
