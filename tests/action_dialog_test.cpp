// The Duplicate File Action dialog: the pair it shows, Delete File, Open File and Detail View.
#include "app/window_dialogs.h"
#include "core/removal_journal.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"

using namespace test_support;
using field_list = std::vector<std::wstring>;

namespace {
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

class ActionDialog : public twin_window_test {
protected:
    void run_dialog(const std::function<void(dialog_script&, HWND)>& steps) {
        EXPECT_EQ(drive_dialog(L"Duplicate File Action", [&] { return orvkit::open_action_dialog(window); }, steps), 1);
    }
};

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
    EXPECT_EQ(orvkit::open_action_dialog(window), 1) << "no pair";
    add_row(big, small, L"100");
    add_row(L"Finished", L"1 twins found in 2 files.", L"");
    for (auto [mode, status] : {std::pair{0u, orvkit::status_idle}, {2u, orvkit::status_comparing}}) {
        search_mode = mode;
        run_status = status;
        EXPECT_EQ(orvkit::open_action_dialog(window), 1) << mode;
    }
    search_mode = 2;
    run_status = orvkit::status_idle;
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
        press(dialog, IDC_DELETE_A);
        answer_shell(s, dialog, L"Yes");
        answer_shell(s, dialog, L"Yes");
        EXPECT_TRUE(s.gone(dialog)) << "after the last pair the dialog closes by itself";
    });
    EXPECT_TRUE(in_trash(a1) && in_trash(a2) && !exists(a1) && !exists(a2)) << "to the recycle bin";
    const std::vector<orvkit::journal_entry> journal = orvkit::read_journal(data_ / L"Removals.txt");
    ASSERT_EQ(journal.size(), 2u) << "each file deleted is journalled";
    EXPECT_EQ(journal[0].path + L"|" + journal[0].partner + L"|" + journal[1].path, a1 + L"|" + b1 + L"|" + a2);
    EXPECT_TRUE(journal[0].action == orvkit::journal_action::recycled && journal[0].action == journal[1].action);
    EXPECT_NE(journal[0].batch, journal[1].batch) << "each Delete File a batch of its own";
    EXPECT_EQ(list_cell(0, 0) + L"|" + list_cell(1, 0), L"Start|Finished") << "the deleted rows are gone";
    EXPECT_EQ(run_status.load(), orvkit::status_idle);
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
        DWORD_PTR ignored = 0;
        EXPECT_TRUE(SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPEN_A, BN_CLICKED),
                                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_OPEN_A)), SMTO_NORMAL, 5000,
                                        &ignored))
            << "Open File returned without waiting for a viewer";
        if (wait_until([] { return visible_dialogs().size() != 1; }, 1500)) s.fail(L"Open File showed a box");
        EXPECT_EQ(fields(dialog), before) << "a file without a viewer leaves the dialog as it was";
        press(dialog, IDC_DETAIL_VIEW);
        s.gone(dialog);
    });
    ASSERT_TRUE(pump_until([] { return run_status == orvkit::status_idle && list_row_count() >= 2; }));
    EXPECT_EQ(search_mode.load(), 0u) << "Detail View switches to File mode and stays there";
    EXPECT_EQ(window_text(edit_a) + L"|" + window_text(edit_b), a + L"|" + b);
    const int last = list_row_count() - 1;
    EXPECT_EQ(list_cell(0, 0) + L"|" + list_cell(last, 0) + L"|" + list_cell(last, 2), L"Start|End|Same");
}
