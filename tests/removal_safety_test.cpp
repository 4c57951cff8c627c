// The Duplicate File Action dialog: the pair it shows, Delete File, Open File, Detail View. Removal, automatic
// as twins are found and by a column's "Delete ALL": over trees that name a file twice, in every delete mode
// and column; what each removes, keeps, counts, shows and journals.
#include <algorithm>
#include <set>
#include <tuple>

#include "app/window_dialogs.h"
#include "core/delete_modes.h"
#include "core/removal_journal.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"

using namespace test_support;
using namespace orvkit;
using field_list = std::vector<std::wstring>;

namespace {

// Trees in which one file stands in the index under two records: one folder searched twice, one tree
// inside the other, hard links.
const struct tree_shape {
    const char* name;
    uint32_t mode;
    const wchar_t *search_this, *plus_this;  // under the tree's folder
} overlapping_shapes[] = {
    {"one folder twice", mode_qdir_plus, L"top", L"top"},
    {"plus this inside search this", mode_qdir_plus, L"top", L"top\\sub"},
    {"search this inside plus this", mode_qdir_plus, L"top\\sub", L"top"},
    {"hard links", mode_directory, L"top", nullptr},
};

// Groups of identical files over top\ and top\sub\, lone files of a group's size, hard links, a symbolic link.
struct overlapping_tree {
    overlapping_tree() {
        auto copies = [&](const std::string& content, std::vector<std::wstring> names) {
            for (auto& name : names) name = folder.make_file(name, content);
            groups.push_back(names);
        };
        copies(std::string(300, '1'), {L"top\\g1a.bin", L"top\\sub\\g1b.bin"});
        copies(std::string(700, '2'), {L"top\\g2a.bin", L"top\\sub\\g2b.bin", L"top\\sub\\g2c.bin"});
        copies(std::string(50, '3'), {L"top\\sub\\g3a.bin", L"top\\sub\\deep\\g3b.bin"});
        groups[1].push_back(folder / L"top\\sub\\g2link.bin");
        CreateHardLinkW(groups[1].back().c_str(), groups[1][1].c_str(), nullptr);
        // A symbolic link met before its target, with a copy after both: removing the link removes the target on
        // Wine, whose record the pair scan then prunes before it removes the next copy of the group.
        folder.make_link(L"top\\sub\\g21sym.bin", groups[1][1]);
        groups[1].push_back(folder / L"top\\sub\\g21sym.bin");
        lone = {folder.make_file(L"top\\lone1.bin", std::string(299, '1') + "x"),
                folder.make_file(L"top\\sub\\lone2.bin", std::string(699, '2') + "y"),
                folder / L"top\\sub\\lone2link.bin"};
        CreateHardLinkW(lone.back().c_str(), lone[1].c_str(), nullptr);
    }
    temp_folder folder;
    std::vector<std::vector<std::wstring>> groups;
    std::vector<std::wstring> lone;
};

void set_written(const std::wstring& path, SYSTEMTIME calendar) {
    FILETIME time{};
    SystemTimeToFileTime(&calendar, &time);
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

// Title, path A, size A, time A, path B, size B, time B.
field_list fields(HWND dialog) {
    field_list all;
    for (int id : {IDC_PAIR_TITLE, IDC_PATH_A, IDC_SIZE_A, IDC_MODIFIED_A, IDC_PATH_B, IDC_SIZE_B, IDC_MODIFIED_B})
        all.push_back(control_text(dialog, id));
    return all;
}

// Answers the shell's confirmation box, the dialog other than `ours`, with the button named `button`.
void answer_shell(dialog_script& script, HWND ours, const std::wstring& button) {
    HWND box = script.find(L"", ours);
    for (HWND child = box ? GetWindow(box, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = window_text(child);
        std::erase(text, L'&');
        if (text != button) continue;
        press(box, GetDlgCtrlID(child));
        script.gone(box);
        return;
    }
    if (box) script.fail(L"no button " + button + L" in \"" + window_text(box) + L"\"");
}

enum class answer { no, yes, yes_twice, yes_then_no_at_once, yes_then_no_once_done };

class ActionDialog : public twin_window_test {
protected:
    void run_dialog(const std::function<void(dialog_script&, HWND)>& steps) {
        EXPECT_EQ(drive_dialog(L"Duplicate File Action", [&] { return open_action_dialog(window); }, steps), 1);
    }
    // "Delete ALL" of column A (0) or B (1) from row 1's Duplicate File Action dialog, answered; the
    // progress shown until the dialog closes, and the text of its Yes button.
    std::set<std::wstring> delete_column(int column, answer reply, std::wstring* yes_text = nullptr) {
        std::set<std::wstring> seen;
        focus_row(1);
        run_dialog([&](dialog_script& s, HWND action) {
            press(action, column ? IDC_DELETE_ALL_B : IDC_DELETE_ALL_A);
            HWND confirm = s.gone(action) ? s.find(L"Ostrand 2.0") : nullptr;
            if (!confirm) return;
            if (yes_text) *yes_text = control_text(confirm, IDOK);
            press(confirm, reply == answer::no ? IDCANCEL : IDOK);
            if (reply == answer::yes_twice) press(confirm, IDOK);
            if (reply == answer::yes_then_no_at_once) press(confirm, IDCANCEL);
            if (reply == answer::yes_then_no_once_done) {  // before the dialog's next poll closes it
                wait_until([] { return run_status == status_idle; });
                press(confirm, IDCANCEL);
            }
            const bool closed = wait_until([&] {
                const std::wstring shown = control_text(confirm, IDC_BATCH_PROGRESS);
                if (!shown.empty() && shown != L" ") seen.insert(shown);
                return !IsWindow(confirm);
            }, 60000);
            if (!closed) s.fail(L"the column delete dialog stayed open");
        });
        EXPECT_EQ(run_status.load(), status_idle);
        return seen;
    }
};

using RemovalSafety = ActionDialog;

}  // namespace

// Nothing opens without a pair to show, in File mode or while busy (the watchdog fails the run on any dialog).
TEST_F(ActionDialog, FieldsOfBothFilesOnTheStatusRowOrNoFocusedRowAndNothingInFileModeWhileBusyOrWithoutAPair) {
    temp_folder files;
    const std::wstring big = files.make_sparse_file(L"big.bin", (5ull << 30) + 2);
    const std::wstring small = files.make_file(L"small.txt", "abc");
    set_written(big, {2024, 3, 0, 5, 14, 7, 9});
    set_written(small, {2023, 11, 0, 20, 8, 30, 0});
    add_row(L"Start", L"2 files found", L"");
    focus_row(0);
    EXPECT_EQ(open_action_dialog(window), 1) << "no pair";
    add_row(big, small, L"100");
    add_row(L"Finished", L"1 twins found in 2 files.", L"");
    for (auto [mode, status] : {std::pair{0u, status_idle}, {2u, status_comparing}}) {
        search_mode = mode;
        run_status = status;
        EXPECT_EQ(open_action_dialog(window), 1) << mode;
    }
    search_mode = 2;
    run_status = status_idle;
    const int tools_before = tool_count();
    for (int focused : {0, -1}) {
        focus_row(focused);
        run_dialog([&](dialog_script& s, HWND dialog) {
            EXPECT_EQ(fields(dialog), (field_list{L"These files were found to be 100% the same.", big, L"5368709122",
                                                  L"2:07:09 PM 3/5/2024", small, L"3", L"8:30:00 AM 11/20/2023"}))
                << focused;
            EXPECT_GT(tool_count(), tools_before);
            press(dialog, IDCANCEL);
            s.gone(dialog);
        });
    }
    EXPECT_EQ(tool_count(), tools_before) << "the dialog's tips leave with it";
    EXPECT_EQ(list_row_count(), 3);
}

TEST_F(ActionDialog, DeleteFileThroughTheShellThenTheNextPairThenClosingAfterTheLast) {
    temp_folder files;
    const std::wstring a1 = files.make_file(L"first one.txt", "one"), b1 = files.make_file(L"first two.txt", "one");
    const std::wstring a2 = files.make_file(L"second one.txt", "second"), b2 = files / L"second two.txt";
    for (const std::wstring& file : {a1, b1, a2}) set_written(file, {2020, 1, 0, 2, 3, 4, 5});
    add_row(L"Start", L"4 files found", L"");
    add_row(a1, b1, L"Deleted A");
    add_row(a2, b2, L"100");  // its file B is gone: the pair is shown, B's fields are empty
    add_row(L"Finished", L"2 twins found in 4 files.", L"");
    focus_row(1);
    const std::wstring time = L"3:04:05 AM 1/2/2020";
    run_dialog([&](dialog_script& s, HWND dialog) {
        press(dialog, IDC_DELETE_B);
        answer_shell(s, dialog, L"No");
        EXPECT_EQ(fields(dialog), (field_list{L"These files were found to be Deleted A% the same.", a1, L"3", time, b1,
                                              L"3", time}));
        EXPECT_TRUE(exists(b1)) << "declined: nothing changed";
        press(dialog, IDC_DELETE_A);
        answer_shell(s, dialog, L"Yes");
        const std::wstring title = L"These files were found to be 100% the same. File B can no longer be found.";
        EXPECT_EQ(fields(dialog), (field_list{title, a2, L"6", time, b2, L"", L""}))
            << "B's size and time are cleared, not left from the earlier pair";
        // File B is gone: the program warns before the shell asks, and No keeps A.
        press(dialog, IDC_DELETE_A);
        HWND warning = s.find(L"Ostrand 2.0", dialog);
        EXPECT_NE(dialog_texts(warning).find(L"cannot be opened"), std::wstring::npos);
        answer_shell(s, dialog, L"No");
        EXPECT_TRUE(exists(a2) && IsWindow(dialog) && visible_dialogs().size() == 1);
        {  // File A itself cannot be read (another program holds it): the program warns too.
            const unique_handle held(CreateFileW(a2.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            press(dialog, IDC_DELETE_A);
            EXPECT_NE(dialog_texts(s.find(L"Ostrand 2.0", dialog)).find(L"cannot be read now"), std::wstring::npos);
            answer_shell(s, dialog, L"No");
        }
        press(dialog, IDC_DELETE_A);
        answer_shell(s, dialog, L"Yes");
        answer_shell(s, dialog, L"Yes");
        EXPECT_TRUE(s.gone(dialog)) << "after the last pair the dialog closes by itself";
    });
    EXPECT_TRUE(in_trash(a1) && in_trash(a2) && !exists(a1) && !exists(a2)) << "to the recycle bin";
    std::vector<journal_entry> journal = read_journal(data_ / L"Removals.txt");
    std::erase_if(journal, [](const journal_entry& line) { return line.action != journal_action::recycled; });
    ASSERT_EQ(journal.size(), 2u) << "each file deleted is journalled";
    EXPECT_EQ(journal[0].path + L"|" + journal[0].partner + L"|" + journal[1].path, a1 + L"|" + b1 + L"|" + a2);
    EXPECT_TRUE(journal[0].action == journal_action::recycled && journal[0].action == journal[1].action);
    EXPECT_NE(journal[0].batch, journal[1].batch) << "each Delete File a batch of its own";
    EXPECT_EQ(list_cell(0, 0) + L"|" + list_cell(1, 0), L"Start|Finished") << "the deleted rows are gone";
    EXPECT_EQ(run_status.load(), status_idle);
}

TEST_F(ActionDialog, DetailViewComparesThePairInFileModeAndOpenFileNeverBlocks) {
    temp_folder files;
    const std::wstring a = files.make_file(L"a.ostrandtest", std::string(3000, 'q'));
    const std::wstring b = files.make_file(L"b.ostrandtest", std::string(3000, 'q'));
    add_row(L"Start", L"2 files found", L"");
    add_row(a, b, L"100");
    focus_row(1);
    run_dialog([&](dialog_script& s, HWND dialog) {
        const field_list before = fields(dialog);
        // Sent, so handled when the call returns: no viewer has this extension, and no box may wait.
        EXPECT_TRUE(SendMessageTimeoutW(dialog, WM_COMMAND, IDC_OPEN_A, 0, SMTO_NORMAL, 5000, nullptr))
            << "Open File returned without waiting for a viewer";
        if (wait_until([] { return visible_dialogs().size() != 1; }, 1500)) s.fail(L"Open File showed a box");
        EXPECT_EQ(fields(dialog), before) << "a file without a viewer leaves the dialog as it was";
        press(dialog, IDC_DETAIL_VIEW);
        s.gone(dialog);
    });
    ASSERT_TRUE(pump_until([] { return run_status == status_idle && list_row_count() >= 2; }));
    EXPECT_EQ(search_mode.load(), 0u) << "Detail View switches to File mode and stays there";
    EXPECT_EQ(window_text(edit_a) + L"|" + window_text(edit_b), a + L"|" + b);
    const int last = list_row_count() - 1;
    EXPECT_EQ(list_cell(0, 0) + L"|" + list_cell(last, 0) + L"|" + list_cell(last, 2), L"Start|End|Same");
}

// Over trees that name a file twice a column can hold every copy of a file: removal taken as the rows stand
// would remove them all. Each shape, delete mode and column, removed as found and by "Delete ALL".
TEST_F(RemovalSafety, OverlappingTreesKeepACopyOfEveryGroup) {
    for (const tree_shape& shape : overlapping_shapes)
        for (const uint32_t mode : {delete_mode_recycle, delete_mode_delete, delete_mode_move})
            for (const int column : {0, 1})
                for (const bool automatic : {true, false}) {
                    const int pair = static_cast<int>(&shape - overlapping_shapes) * 2 + column;
                    if (!automatic && pair % 3 != static_cast<int>(mode)) continue;  // Delete ALL: the modes in turn
                    const std::string run = std::string(shape.name) + ", mode " + std::to_string(mode) + ", column " +
                                            "AB"[column] + (automatic ? ", as found" : ", Delete ALL");
                    overlapping_tree tree;
                    temp_folder moved;
                    app_state->deletions.delete_mode = mode;
                    app_state->deletions.move_dir = moved.path();
                    remove_when_found = automatic;
                    remove_column_a = automatic && column == 0;
                    remove_column_b = automatic && column == 1;
                    search(shape.mode, tree.folder / shape.search_this,
                           shape.plus_this ? tree.folder / shape.plus_this : std::wstring());
                    // No row names a file deleted or moved before it; a recycled one waits for the end.
                    int deleted = 0;
                    std::set<std::wstring> removed;
                    for (int row = 1; automatic && row + 1 < list_row_count(); ++row) {
                        for (const int cell : {0, 1})
                            EXPECT_FALSE(removed.count(case_key(list_cell(row, cell))))
                                << run << ", row " << row << " names a file removed before it";
                        if (list_cell(row, 2) != std::wstring(L"Deleted ") + L"AB"[column]) continue;
                        ++deleted;
                        if (mode != delete_mode_recycle) removed.insert(case_key(list_cell(row, column)));
                    }
                    if (automatic) {
                        EXPECT_GE(deleted, 3) << run << ": a copy of each group goes";
                    } else {
                        delete_column(column, answer::yes);
                        EXPECT_EQ(list_cell(0, 1).find(L"0 files removed"), std::wstring::npos) << run;
                    }
                    // Every group keeps a copy in the tree, and every lone file is where it was.
                    for (const auto& group : tree.groups)
                        EXPECT_TRUE(std::any_of(group.begin(), group.end(), [](const std::wstring& p) { return exists(p); }))
                            << run << ": every copy of " << to_unix_path(group[0]) << " left the tree";
                    for (const auto& file : tree.lone) EXPECT_TRUE(exists(file)) << run << ": " << to_unix_path(file);
                }
}

// No leaves everything; a second Yes starts no second batch (the counts stay exact); No during the batch
// stops after the current row, whose file is still removed; No once it has ended leaves the dialog to tell
// the outcome. The journal names each file removed, in order, with its twin.
TEST_F(RemovalSafety, ColumnDeleteShowsTheProgressRemovesTheColumnJournalsAndTellsTheOutcome) {
    temp_folder moved;
    app_state->deletions.move_dir = moved.path();
    const std::tuple<uint32_t, int, answer, int> runs[] = {  // delete mode, column (A 0), the answer, files removed
        {delete_mode_recycle, 0, answer::no, 0},
        {delete_mode_recycle, 0, answer::yes, 3},
        {delete_mode_delete, 1, answer::yes_twice, 3},
        {delete_mode_move, 0, answer::yes, 3},
        {delete_mode_recycle, 0, answer::yes_then_no_at_once, 1},
        {delete_mode_delete, 1, answer::yes_then_no_once_done, 3},
    };
    for (const auto& [mode, column, reply, removed] : runs) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << ", answer " << static_cast<int>(reply));
        app_state->deletions.delete_mode = mode;
        temp_folder files;  // three pairs named after their folder: no other file of their name is recycled
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
        const auto removals = [&] {
            std::vector<journal_entry> lines = read_journal(data_ / L"Removals.txt");
            std::erase_if(lines, [](const journal_entry& line) { return line.action != journal_action::recycled &&
                                                                        line.action != journal_action::deleted &&
                                                                        line.action != journal_action::moved; });
            return lines;
        };
        const std::size_t journalled = removals().size();
        std::wstring yes_text;
        const std::set<std::wstring> seen = delete_column(column, reply, &yes_text);
        EXPECT_EQ(yes_text, std::wstring(L"Delete all files in Column ") + L"AB"[column]);
        const std::set<std::wstring> steps{L"1 of 3", L"2 of 3", L"3 of 3"};
        EXPECT_TRUE(std::includes(steps.begin(), steps.end(), seen.begin(), seen.end()));
        EXPECT_EQ(seen.count(L"3 of 3") == 1, removed == 3) << "the last row's progress stays until the dialog closes";
        EXPECT_EQ(list_row_count(), reply == answer::no ? 5 : 1) << "the rows kept, or one that tells the outcome";
        if (reply == answer::no) {
            EXPECT_TRUE(seen.empty());
        } else {
            EXPECT_EQ(list_cell(0, 1) + L"|" + list_cell(0, 2),
                      std::to_wstring(removed) + L" files removed, 0 kept: twin missing 0, twin changed 0, same "
                                                 L"file 0, twin already removed 0, refused 0|");
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
            EXPECT_EQ(journal[journalled + i].path + L"|" + journal[journalled + i].partner, gone + L"|" + twin);
        }
        list_clear();
    }
    EXPECT_EQ(twin_count.load(), 3) << "the twin count is left alone";
}

// A Directory search at 90%: a row below 100 is passed over uncounted; rows whose twin was edited,
// deleted or now names the same file are kept and counted.
TEST_F(RemovalSafety, ColumnDeleteKeepsRowsBelowAHundredOrWhoseTwinWasEditedDeletedOrIsTheSameFile) {
    temp_folder tree;
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
              L"1 files removed, 3 kept: twin missing 1, twin changed 1, same file 1, twin already removed 0, refused 0");
}

// At a drive's root the recycle bin holds copies of files in use, which removal as found could take instead. The
// root's system folders are neither searched, counted nor removed when empty; a bin folder lower down is searched.
TEST_F(RemovalSafety, ADriveRootsRecycleBinIsPassedOverAndTheFileInUseStays) {
    temp_folder volume;
    const std::string content = "deleted once, still in use";
    const std::wstring in_use = volume.make_file(L"docs\\r.txt", content);
    const std::wstring binned = volume.make_file(L"$RECYCLE.BIN\\S-1-5-21-1\\$RAB12CD.txt", content);
    for (const wchar_t* empty : {L"System Volume Information", L"Recycler\\S-1-5-21-1"}) volume.make_folder(empty);
    volume.make_file(L"docs\\$RECYCLE.BIN\\copy.txt", "walked");
    volume.make_file(L"docs\\s.txt", "walked");
    const std::wstring root = volume.map_drive();
    ASSERT_FALSE(root.empty()) << "no drive letter could be mapped";
    app_state->deletions.delete_mode = delete_mode_delete;
    app_state->settings.remove_empty_dirs = 1;
    remove_when_found = remove_column_b = true;
    search(mode_quick_dir, root);
    EXPECT_EQ(read_list_rows(), (std::vector<list_row>{
        {L"Start", L"3 files found", L""},
        {root + L"docs\\$RECYCLE.BIN\\copy.txt", root + L"docs\\s.txt", L"Deleted B"},
        {L"Finished", L"1 twins found in 3 files. Total original size 38 bytes. Total deleted 6 bytes. Total folders 2 "
                      L"with 0 empty folders deleted.", L""}}));
    EXPECT_TRUE(exists(in_use) && exists(binned) && exists(volume / L"System Volume Information") &&
                exists(volume / L"Recycler\\S-1-5-21-1"));
}
