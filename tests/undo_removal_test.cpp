// Undo of the last batch of removals through the real window.
#include <tuple>

#include "support/removal.h"
#include "ui/menu_ids.h"

using namespace test_support;

struct UndoRemoval : removal_window_test {
    std::size_t journal_lines() const { return read_journal(data_ / L"Removals.txt").size(); }
    static std::size_t items_holding(const std::string& bytes) {
        const std::vector<std::wstring> items = names_in(trash_folder());
        return std::count_if(items.begin(), items.end(),
                             [&](const std::wstring& item) { return read_file(trash_folder() + L"\\" + item) == bytes; });
    }
    bool undo_offered() { return right_click_menu(window).find(L"Undo Last Removal=2090") != std::wstring::npos; }
    // Undo runs off the window thread: its row tells the outcome once it ended.
    std::wstring undo() {
        SendMessageW(window, WM_COMMAND, menu_undo_removal, 0);
        EXPECT_TRUE(pump_until(run_ended));
        EXPECT_EQ(list_cell(0, 0), L"Undo");
        return list_cell(0, 1);
    }
};

// Moved and recycled files come back with their bytes and time, once; a Delete batch offers no Undo and says why.
TEST_F(UndoRemoval, UndoPutsBackTheLastBatchOnce) {
    for (const auto& [mode, undone] :
         {std::tuple{delete_mode_move, L"3 files restored"}, {delete_mode_recycle, L"3 files restored"},
          {delete_mode_delete, L"3 deleted files cannot be restored; nothing was changed"}}) {
        SCOPED_TRACE(mode);
        temp_folder tree, moved;
        const std::vector<file> files = search_removing_pairs(mode, tree, moved);
        const std::size_t before = journal_lines();
        ASSERT_EQ(undo_offered(), mode != delete_mode_delete);
        EXPECT_EQ(undo(), undone);
        for (const file& f : files) {
            const bool lost = mode == delete_mode_delete && f.path.find(L"\\b") != std::wstring::npos;
            EXPECT_EQ(read_file(f.path), lost ? "" : f.bytes) << to_unix_path(f.path);
            EXPECT_TRUE(lost || last_write_ticks(f.path) == f.written) << "the last-write time kept";
        }
        EXPECT_FALSE(undo_offered()) << "nothing is left to put back";
        const std::size_t after_first = journal_lines();
        EXPECT_EQ(after_first - before, mode == delete_mode_delete ? 0u : 3u) << "a line per file restored";
        if (mode != delete_mode_delete) {
            EXPECT_EQ(undo(), L"0 files restored") << "a second Undo finds nothing more";
            EXPECT_EQ(journal_lines(), after_first);
        }
    }
}

// A file that took a removed file's path stays, the moved one is reported; a folder removed is made again.
TEST_F(UndoRemoval, UndoNeverOverwritesAFileThatTookThePath) {
    const std::vector<file> files = search_removing_pairs(delete_mode_move, tree, moved);
    const std::wstring taken = files[1].path;
    tree.make_file(taken.substr(tree.path().size() + 1), "a new file");
    ASSERT_TRUE(RemoveDirectoryW((tree / L"g1\\sub").c_str()));
    EXPECT_EQ(undo(), L"2 files restored, 1 could not be: " + taken + L" (a file already stands at its path)");
    EXPECT_EQ(read_file(taken), "a new file");
    EXPECT_EQ(read_file(moved / L"b0.dat").size(), 100u);
    EXPECT_EQ(read_file(files[3].path), files[3].bytes);
}

// The batch's own item was emptied from the bin; an older item of the path stays there, nothing is put at the path.
TEST_F(UndoRemoval, AnOlderItemOfThePathStaysInTheBinWhenTheBatchOwnItemIsGone) {
    DeleteQueue queue;
    const std::string older_bytes = "an earlier file of " + narrow(tree.path());
    const std::wstring earlier = tree.make_file(L"g0\\sub\\b0.dat", older_bytes);
    ASSERT_EQ(queue.submit(earlier), delete_done);
    ASSERT_EQ(queue.flush_locked(), delete_done);
    ASSERT_FALSE(exists(earlier));
    search_removing_pairs(delete_mode_recycle, tree, moved);
    const std::vector<journal_entry> removed = removals();
    const auto own = std::find_if(removed.begin(), removed.end(), [&](auto& e) { return e.path == earlier; });
    ASSERT_NE(own, removed.end());
    const std::wstring info = trash_folder() + L"\\..\\info\\" + file_name(own->target) + L".trashinfo";
    ASSERT_TRUE(DeleteFileW(own->target.c_str()) && DeleteFileW(info.c_str())) << "emptied from the bin";
    ASSERT_EQ(items_holding(older_bytes), 1u);
    EXPECT_EQ(undo(), L"2 files restored, 1 could not be: " + earlier + L" (no longer in the recycle bin)");
    EXPECT_FALSE(exists(earlier)) << "the older file is not put back in its place";
    EXPECT_EQ(items_holding(older_bytes), 1u) << "the older item stays in the bin";
}

// An Undo that could not put back every file leaves the rest to the next, which restores only those.
TEST_F(UndoRemoval, ASecondUndoRestoresWhatTheFirstCouldNot) {
    const std::vector<file> files = search_removing_pairs(delete_mode_recycle, tree, moved);
    const std::wstring blocked = files[3].path;
    tree.make_file(blocked.substr(tree.path().size() + 1), "in the way");
    EXPECT_EQ(undo(), L"2 files restored, 1 could not be: " + blocked + L" (a file already stands at its path)");
    ASSERT_TRUE(undo_offered());
    ASSERT_TRUE(DeleteFileW(blocked.c_str()));
    EXPECT_EQ(undo(), L"1 files restored");
    EXPECT_EQ(read_file(blocked), files[3].bytes);
}
