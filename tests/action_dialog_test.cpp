// The Duplicate File Action dialog: the pair it shows, Delete File, Open File, Detail View.
#include "support/removal.h"

using namespace test_support;
using field_list = std::vector<std::wstring>;

static void set_written(const std::wstring& path, SYSTEMTIME calendar) {
    FILETIME time{};
    SystemTimeToFileTime(&calendar, &time);
    set_written_time(path, uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime);
}

static field_list fields(HWND dialog) {
    field_list all;
    for (int id : {IDC_PAIR_TITLE, IDC_PATH_A, IDC_SIZE_A, IDC_MODIFIED_A, IDC_PATH_B, IDC_SIZE_B, IDC_MODIFIED_B})
        all.push_back(control_text(dialog, id));
    return all;
}

// Answers the box other than `ours` (the shell's, or the program's warning) with the button named `button`.
static void answer_box(dialog_script& script, HWND ours, const std::wstring& button) {
    HWND box = script.find(L"", ours);
    for (HWND child = box ? GetWindow(box, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = window_text(child);
        std::erase(text, L'&');
        if (text == button) return script.close(box, GetDlgCtrlID(child));
    }
    if (box) script.fail(L"no button " + button + L" in \"" + window_text(box) + L"\"");
}

struct ActionDialog : removal_window_test {
    // The list a search leaves: its status row, a row per pair, its closing row; the first pair focused.
    static void rows_of(const std::vector<list_row>& pairs) {
        add_row(L"Start", L"files found", L"");
        for (const auto& [a, b, percent] : pairs) add_row(a, b, percent);
        add_row(L"Finished", L"twins found", L"");
        focus_row(1);
    }
    void one_pair() {
        big = tree.make_sparse_file(L"big.bin", (5ull << 30) + 2);
        small = tree.make_file(L"small.txt", "abc");
        set_written(big, {2024, 3, 0, 5, 14, 7, 9});
        set_written(small, {2023, 11, 0, 20, 8, 30, 0});
        rows_of({{big, small, L"100"}});
    }
    void two_pairs(bool b2_kept = false) {
        a1 = tree.make_file(L"first one.txt", "one"), b1 = tree.make_file(L"first two.txt", "one");
        a2 = tree.make_file(L"second one.txt", "second");
        b2 = b2_kept ? tree.make_file(L"second two.txt", "second") : tree / L"second two.txt";
        for (const std::wstring& file : {a1, b1, a2}) set_written(file, {2020, 1, 0, 2, 3, 4, 5});
        rows_of({{a1, b1, L"Deleted A"}, {a2, b2, L"100"}});
    }
    std::wstring big, small, a1, b1, a2, b2;
};

TEST_F(ActionDialog, OpensOnlyOnAPairWhileIdleInASearchMode) {
    add_row(L"Start", L"2 files found", L"");
    focus_row(0);
    EXPECT_EQ(open_action_dialog(window), 1) << "no pair";
    list_clear();
    one_pair();
    for (auto [mode, status] : {std::pair{mode_file, status_idle}, {mode_quick_dir, status_comparing}}) {
        search_mode = mode;
        run_status = status;
        EXPECT_EQ(open_action_dialog(window), 1) << mode;
    }
}

TEST_F(ActionDialog, ShowsTheFirstPairWhenNoPairIsFocused) {
    one_pair();
    for (int focused : {0, -1}) {  // the status row, or none
        focus_row(focused);
        run_action_dialog([&](dialog_script& s, HWND dialog) {
            EXPECT_EQ(fields(dialog), (field_list{L"These files were found to be 100% the same.", big, L"5368709122",
                                                  L"2:07:09 PM 3/5/2024", small, L"3", L"8:30:00 AM 11/20/2023"}))
                << focused;
            s.close(dialog);
        });
    }
    EXPECT_EQ(list_row_count(), 3);
}

TEST_F(ActionDialog, ItsTooltipsLeaveWithIt) {
    one_pair();
    const int tools_before = tool_count();
    run_action_dialog([&](dialog_script& s, HWND dialog) {
        EXPECT_GT(tool_count(), tools_before);
        s.close(dialog);
    });
    EXPECT_EQ(tool_count(), tools_before);
}

// The program warns before the shell asks when either file cannot be read; No keeps the file.
TEST_F(ActionDialog, DeleteFileMovesOnFromPairToPairUntilTheLast) {
    two_pairs();
    const std::wstring time = L"3:04:05 AM 1/2/2020";
    run_action_dialog([&](dialog_script& s, HWND dialog) {
        press(dialog, IDC_DELETE_B);
        answer_box(s, dialog, L"No");
        EXPECT_EQ(fields(dialog), (field_list{L"These files were found to be Deleted A% the same.", a1, L"3", time, b1,
                                              L"3", time}));
        EXPECT_TRUE(exists(b1)) << "declined: nothing changed";
        press(dialog, IDC_DELETE_A);
        answer_box(s, dialog, L"Yes");
        const std::wstring title = L"These files were found to be 100% the same. File B can no longer be found.";
        EXPECT_EQ(fields(dialog), (field_list{title, a2, L"6", time, b2, L"", L""}))
            << "B's size and time are cleared, not left from the earlier pair";
        press(dialog, IDC_DELETE_A);
        EXPECT_NE(dialog_texts(s.find(L"Ostrand 2.0", dialog)).find(L"cannot be opened"), std::wstring::npos) << "B";
        answer_box(s, dialog, L"No");
        EXPECT_TRUE(exists(a2) && IsWindow(dialog) && visible_dialogs().size() == 1);
        {  // another program holds file A
            const unique_handle held(CreateFileW(a2.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            press(dialog, IDC_DELETE_A);
            EXPECT_NE(dialog_texts(s.find(L"Ostrand 2.0", dialog)).find(L"cannot be read now"), std::wstring::npos);
            answer_box(s, dialog, L"No");
        }
        press(dialog, IDC_DELETE_A);
        answer_box(s, dialog, L"Yes");
        answer_box(s, dialog, L"Yes");
        EXPECT_TRUE(s.gone(dialog)) << "after the last pair the dialog closes by itself";
    });
    EXPECT_TRUE(in_trash(a1) && in_trash(a2) && !exists(a1) && !exists(a2)) << "to the recycle bin";
    EXPECT_EQ(list_cell(0, 0), L"Start");
    EXPECT_EQ(list_cell(1, 0), L"Finished") << "the deleted rows are gone";
    EXPECT_EQ(run_status.load(), status_idle);
}

TEST_F(ActionDialog, EachDeleteFileIsJournalledAsABatchOfItsOwn) {
    two_pairs(true);
    run_action_dialog([&](dialog_script& s, HWND dialog) {
        for (int pair = 0; pair < 2; ++pair) {
            press(dialog, IDC_DELETE_A);
            answer_box(s, dialog, L"Yes");
        }
        s.gone(dialog);
    });
    const std::vector<journal_entry> journal = removals();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ((field_list{journal[0].path, journal[0].partner, journal[1].path}), (field_list{a1, b1, a2}));
    for (const journal_entry& line : journal) EXPECT_EQ(line.action, journal_action::recycled) << narrow(line.path);
    EXPECT_NE(journal[0].batch, journal[1].batch);
}

TEST_F(ActionDialog, OpenFileWithoutAViewerNeverBlocks) {
    rows_of({{tree.make_file(L"a.ostrandtest", "q"), tree.make_file(L"b.ostrandtest", "q"), L"100"}});
    run_action_dialog([&](dialog_script& s, HWND dialog) {
        const field_list before = fields(dialog);
        // Sent, so handled when the call returns: no viewer has this extension.
        EXPECT_TRUE(SendMessageTimeoutW(dialog, WM_COMMAND, IDC_OPEN_A, 0, SMTO_NORMAL, 5000, nullptr));
        if (wait_until([] { return visible_dialogs().size() != 1; }, 1500)) s.fail(L"Open File showed a box");
        EXPECT_EQ(fields(dialog), before);
        s.close(dialog);
    });
}

TEST_F(ActionDialog, DetailViewComparesThePairInFileMode) {
    const std::string bytes(3000, 'q');
    const std::wstring a = tree.make_file(L"a", bytes), b = tree.make_file(L"b", bytes);
    rows_of({{a, b, L"100"}});
    run_action_dialog([&](dialog_script& s, HWND dialog) { s.close(dialog, IDC_DETAIL_VIEW); });
    ASSERT_TRUE(pump_until([] { return run_status == status_idle && list_row_count() >= 2; }));
    EXPECT_EQ(search_mode.load(), mode_file) << "and stays there";
    EXPECT_EQ((field_list{window_text(edit_a), window_text(edit_b)}), (field_list{a, b}));
    EXPECT_EQ(read_list_rows(), (std::vector<list_row>{{L"Start", L"", L"Equal"}, {L"End", L"", L"Same"}}));
}
