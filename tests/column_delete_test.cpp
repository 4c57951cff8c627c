// "Delete ALL" of a column from the Duplicate File Action dialog.
#include <tuple>

#include "support/removal.h"

using namespace test_support;

// No leaves everything; a second Yes starts no second batch; No during the batch stops after the current row,
// whose file is still removed; No once it has ended leaves the dialog to tell the outcome.
const std::tuple<uint32_t, int, answer, int> runs[] = {  // delete mode, column (A 0), the answer, files removed
    {delete_mode_recycle, 0, answer::no, 0},
    {delete_mode_recycle, 0, answer::yes, 3},
    {delete_mode_delete, 1, answer::yes_twice, 3},
    {delete_mode_move, 0, answer::yes, 3},
    {delete_mode_recycle, 0, answer::yes_then_no_at_once, 1},
    {delete_mode_delete, 1, answer::yes_then_no_once_done, 3},
};

using ColumnDelete = removal_window_test;

TEST_F(ColumnDelete, DeleteAllFollowsTheAnswer) {
    app_state->deletions.options.move_dir = moved.path();
    for (const auto& [mode, column, reply, removed] : runs) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << ", answer " << static_cast<int>(reply));
        app_state->deletions.options.delete_mode = mode;
        temp_folder files;  // three pairs, named after their folder
        std::vector<std::array<std::wstring, 2>> pairs;
        add_row(L"Start", L"6 files found", L"");
        for (int i = 0; i < 3; ++i) {
            const std::string bytes(10 + i, static_cast<char>('a' + i));
            const std::wstring n = std::to_wstring(i) + file_name(files.path()) + L".dat";
            pairs.push_back({files.make_file(L"a" + n, bytes), files.make_file(L"b" + n, bytes)});
            add_row(pairs[i][0], pairs[i][1], L"100");
        }
        add_row(L"Finished", L"twins", L"");
        twin_count = 3;
        const std::size_t journalled = removals().size();
        std::wstring yes_text;
        const std::set<std::wstring> seen = delete_column(column, reply, &yes_text);
        EXPECT_EQ(yes_text, std::wstring(L"Delete all files in Column ") + L"AB"[column]);
        const std::set<std::wstring> steps{L"1 of 3", L"2 of 3", L"3 of 3"};
        EXPECT_TRUE(std::includes(steps.begin(), steps.end(), seen.begin(), seen.end()));
        EXPECT_EQ(seen.count(L"3 of 3") == 1, removed == 3);
        if (reply == answer::no) {
            EXPECT_TRUE(seen.empty());
            EXPECT_EQ(list_row_count(), 5) << "the rows kept";
        } else {
            EXPECT_EQ(read_list_rows(), (std::vector<list_row>{{L"Column delete ended", std::to_wstring(removed) +
                L" files removed, 0 kept: twin missing 0, twin changed 0, same file 0, twin already removed 0, "
                L"refused 0, protected 0", L""}}));
        }
        const std::vector<journal_entry> journal = removals();
        ASSERT_EQ(journal.size(), journalled + removed);
        for (int i = 0; i < 3; ++i) {
            const std::wstring &gone = pairs[i][column], &twin = pairs[i][1 - column];
            EXPECT_TRUE(exists(twin)) << "the twin stays";
            EXPECT_EQ(exists(gone), i >= removed) << i;
            if (i >= removed) continue;
            if (mode != delete_mode_delete) {
                EXPECT_TRUE(mode == delete_mode_recycle ? in_trash(gone) : exists(moved / file_name(gone)));
            }
            EXPECT_EQ(journal[journalled + i].path, gone);
            EXPECT_EQ(journal[journalled + i].partner, twin);
        }
        list_clear();
    }
    EXPECT_EQ(twin_count.load(), 3) << "the twin count is left alone";
}

// At 90%: a row below 100 is passed over uncounted; rows whose twin was edited, deleted or is the same file count.
TEST_F(ColumnDelete, KeepsEveryRowItCannotVouchFor) {
    app_state->settings.match_percentage = 90;
    const std::wstring a1 = tree.make_file(L"a1", "aaaa"), a2 = tree.make_file(L"a2", "aaaa");
    const std::wstring b1 = tree.make_file(L"b1", "bbbbb"), b2 = tree.make_file(L"b2", "bbbbb");
    const std::wstring c1 = tree.make_file(L"c1", "cccccc"), c2 = tree.make_file(L"c2", "cccccc");
    const std::wstring d1 = tree.make_file(L"d1", "ddddddd"), d2 = tree.make_file(L"d2", "ddddddd");
    const std::wstring n1 = tree.make_file(L"n1", std::string(100, 'n'));
    const std::wstring n2 = tree.make_file(L"n2", "XXXXX" + std::string(95, 'n'));
    search(mode_directory, tree.path());
    ASSERT_EQ(list_row_count(), 7);
    std::multiset<int> percents;
    for (int row = 1; row < 6; ++row) percents.insert(_wtoi(list_cell(row, 2).c_str()));
    ASSERT_TRUE(*percents.begin() >= 90 && percents.count(100) == 4) << *percents.begin();
    tree.make_file(L"a2", "aaab");  // edited: same size, another byte
    ASSERT_TRUE(DeleteFileW(b2.c_str()));
    ASSERT_TRUE(DeleteFileW(c2.c_str()));
    ASSERT_TRUE(CreateHardLinkW(c2.c_str(), c1.c_str(), nullptr)) << "c2 now names c1's file";
    delete_column(0, answer::yes);
    EXPECT_TRUE(exists(a1) && exists(b1) && exists(c1) && exists(n1) && exists(n2));
    EXPECT_TRUE(in_trash(d1) && !exists(d1) && exists(d2));
    EXPECT_EQ(list_cell(0, 1),
              L"1 files removed, 3 kept: twin missing 1, twin changed 1, same file 1, twin already removed 0, refused 0, "
              L"protected 0");
}
