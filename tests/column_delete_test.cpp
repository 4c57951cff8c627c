// The column delete reached as a user reaches it: the action dialog's "Delete ALL", then the confirmation
// dialog and its batch, driven from a helper thread, with the last-copy guard checking every row again.
#include <algorithm>
#include <set>

#include "app/window_dialogs.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"
#include "support/overlapping_trees.h"

using namespace test_support;

namespace {

const std::wstring kept_none = L" kept: twin missing 0, twin changed 0, same file 0, twin already removed 0";

enum class answer { no, yes, yes_twice, yes_then_no_at_once };

struct batch_run {
    std::wstring yes_text;
    std::set<std::wstring> progress_seen;
};

class ColumnDelete : public twin_window_test {
protected:
    // Opens the action dialog on row 1, presses "Delete ALL" of the column, answers the confirmation and
    // reads the progress until the batch closes the dialog.
    batch_run delete_column(int delete_all, answer reply) {
        batch_run run;
        focus_row(1);
        const auto open = [&] { return orvkit::open_action_dialog(window); };
        EXPECT_EQ(drive_dialog(L"Duplicate File Action", open, [&](dialog_script& s, HWND action) {
            press(action, delete_all);
            HWND confirm = s.gone(action) ? s.find(L"Ostrand 2.0") : nullptr;
            if (!confirm) return;
            run.yes_text = control_text(confirm, IDOK);
            press(confirm, reply == answer::no ? IDCANCEL : IDOK);
            if (reply == answer::yes_twice) press(confirm, IDOK);
            if (reply == answer::yes_then_no_at_once) press(confirm, IDCANCEL);
            const bool closed = wait_until([&] {
                const std::wstring shown = control_text(confirm, IDC_BATCH_PROGRESS);
                if (!shown.empty() && shown != L" ") run.progress_seen.insert(shown);
                return !IsWindow(confirm);
            }, 60000);
            if (!closed) s.fail(L"the column delete dialog stayed open");
        }), 1);
        EXPECT_EQ(run_status.load(), orvkit::status_idle);
        return run;
    }

    // Pairs of twins of distinct sizes, listed by hand between a status row and a closing row.
    std::vector<std::pair<std::wstring, std::wstring>> listed_pairs(const temp_folder& folder, int count) {
        std::vector<std::pair<std::wstring, std::wstring>> pairs;
        add_row(L"Start", std::to_wstring(2 * count) + L" files found", L"");
        for (int i = 0; i < count; ++i) {
            const std::string content(10 + i, static_cast<char>('a' + i));
            const std::wstring n = std::to_wstring(i);
            pairs.push_back({folder.make_file(L"a" + n + L".dat", content), folder.make_file(L"b" + n + L".dat", content)});
            add_row(pairs.back().first, pairs.back().second, L"100");
        }
        add_row(L"Finished", L"twins", L"");
        twin_count = count;
        return pairs;
    }
};

}  // namespace

// No first leaves everything; then Yes in Recycle, Delete (Yes pressed twice must
// start no second batch: the counts stay exact) and Move to.
TEST_F(ColumnDelete, NoDoesNothingAndYesInEachDeleteModeShowsTheProgressAndEmptiesTheList) {
    temp_folder files, moved;
    app_state->deletions.move_dir = moved.path();
    for (uint32_t mode : {0u, 1u, 2u}) {
        SCOPED_TRACE(mode);
        app_state->deletions.delete_mode = mode;
        const auto pairs = listed_pairs(files, 3);
        const bool column_a = mode != 1;
        const int delete_all = column_a ? IDC_DELETE_ALL_A : IDC_DELETE_ALL_B;
        if (mode == 0) {
            EXPECT_TRUE(delete_column(delete_all, answer::no).progress_seen.empty());
            EXPECT_EQ(list_row_count(), 5) << "the list keeps its rows";
            for (const auto& [a, b] : pairs) EXPECT_TRUE(exists(a) && exists(b));
        }
        const batch_run run = delete_column(delete_all, mode == 1 ? answer::yes_twice : answer::yes);
        EXPECT_EQ(run.yes_text, column_a ? L"Delete all files in Column A" : L"Delete all files in Column B");
        const std::set<std::wstring>& seen = run.progress_seen;
        const std::set<std::wstring> steps{L"1 of 3", L"2 of 3", L"3 of 3"};
        EXPECT_TRUE(seen.count(L"3 of 3") && std::includes(steps.begin(), steps.end(), seen.begin(), seen.end()))
            << "only steps of 3, and the last row's stays until the dialog closes";
        ASSERT_EQ(list_row_count(), 1) << "emptied, and one row tells the outcome";
        EXPECT_EQ(list_cell(0, 1) + L"|" + list_cell(0, 2), L"3 files removed, 0" + kept_none + L"|");
        for (const auto& [a, b] : pairs) {
            const std::wstring& gone = column_a ? a : b;
            EXPECT_FALSE(exists(gone));
            EXPECT_TRUE(exists(column_a ? b : a)) << "the twin stays";
            if (mode != 1) {
                EXPECT_TRUE(mode == 0 ? in_trash(gone) : exists(moved / gone.substr(gone.rfind(L'\\') + 1)));
            }
        }
        orvkit::list_clear();
    }
    EXPECT_EQ(twin_count.load(), 3) << "the twin count is left alone";
}

TEST_F(ColumnDelete, NoDuringTheBatchStopsAfterTheCurrentRowAndStillFlushesTheRecycleBin) {
    temp_folder files;
    const auto pairs = listed_pairs(files, 3);
    delete_column(IDC_DELETE_ALL_A, answer::yes_then_no_at_once);
    EXPECT_TRUE(in_trash(pairs[0].first) && !exists(pairs[0].first)) << "queued before the stop: still recycled";
    EXPECT_TRUE(exists(pairs[1].first) && exists(pairs[2].first));
    ASSERT_EQ(list_row_count(), 1);
    EXPECT_EQ(list_cell(0, 1), L"1 files removed, 0" + kept_none);
}

// Over trees that name a file twice a column can hold every copy of a file: taken as the rows stand,
// the batch would remove them all. Each shape and column, the three delete modes in turn.
TEST_F(ColumnDelete, OverlappingTreesKeepACopyOfEveryGroupInEveryColumn) {
    uint32_t mode = 0;
    for (const tree_shape& shape : overlapping_shapes) {
        for (const int delete_all : {IDC_DELETE_ALL_A, IDC_DELETE_ALL_B}) {
            const std::string run = std::string(shape.name) + ", mode " + std::to_string(mode) + ", button " +
                                    std::to_string(delete_all);
            overlapping_tree tree(shape);
            temp_folder moved;
            app_state->deletions.delete_mode = mode;
            app_state->deletions.move_dir = moved.path();
            search(shape.mode, tree.search_this(), tree.plus_this());
            delete_column(delete_all, answer::yes);
            tree.expect_a_copy_of_everything_stays(run);
            EXPECT_EQ(list_cell(0, 1).find(L"0 files removed"), std::wstring::npos) << run;
            mode = (mode + 1) % 3;
        }
    }
}

// A Directory search at 90%: a row below 100 is passed over uncounted; rows whose twin was edited,
// deleted or now names the same file are kept and counted.
TEST_F(ColumnDelete, RowsBelowAHundredOrWhoseTwinWasEditedDeletedOrIsTheSameFileAreKept) {
    temp_folder tree;
    app_state->settings.match_percentage = 90;
    const std::wstring a1 = tree.make_file(L"a1", "aaaa"), a2 = tree.make_file(L"a2", "aaaa");
    const std::wstring b1 = tree.make_file(L"b1", "bbbbb"), b2 = tree.make_file(L"b2", "bbbbb");
    const std::wstring c1 = tree.make_file(L"c1", "cccccc"), c2 = tree.make_file(L"c2", "cccccc");
    const std::wstring d1 = tree.make_file(L"d1", "ddddddd"), d2 = tree.make_file(L"d2", "ddddddd");
    const std::wstring n1 = tree.make_file(L"n1", std::string(100, 'n'));
    const std::wstring n2 = tree.make_file(L"n2", "XXXXX" + std::string(95, 'n'));
    search(1, tree.path());
    ASSERT_EQ(list_row_count(), 7);
    std::multiset<int> percents;
    for (int row = 1; row < 6; ++row) percents.insert(_wtoi(list_cell(row, 2).c_str()));
    ASSERT_TRUE(*percents.begin() >= 90 && percents.count(100) == 4) << *percents.begin();
    tree.make_file(L"a2", "aaab");  // edited: same size, another byte
    ASSERT_TRUE(DeleteFileW(b2.c_str()));
    ASSERT_TRUE(DeleteFileW(c2.c_str()));
    ASSERT_TRUE(CreateHardLinkW(c2.c_str(), c1.c_str(), nullptr)) << "c2 now names c1's file";
    delete_column(IDC_DELETE_ALL_A, answer::yes);
    EXPECT_TRUE(exists(a1) && exists(b1) && exists(c1) && exists(n1) && exists(n2));
    EXPECT_TRUE(in_trash(d1) && !exists(d1) && exists(d2));
    EXPECT_EQ(list_cell(0, 1),
              L"1 files removed, 3 kept: twin missing 1, twin changed 1, same file 1, twin already removed 0");
}
