// The Duplicate File Action dialog opened through the main window's own opener and
// driven from a helper thread: the fields, the title line, Delete File through the
// shell's own confirmation, Detail View, Open File, Close.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/window_dialogs.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"

using namespace test_support;

namespace {

const std::wstring caption = L"Duplicate File Action";

void set_written(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    const SYSTEMTIME calendar{year, month, 0, day, hour, minute, second, 0};
    FILETIME time{};
    SystemTimeToFileTime(&calendar, &time);
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

// Title, path A, size A, time A, path B, size B, time B.
std::vector<std::wstring> fields(HWND dialog) {
    std::vector<std::wstring> all;
    for (int id : {IDC_PAIR_TITLE, IDC_PATH_A, IDC_SIZE_A, IDC_MODIFIED_A, IDC_PATH_B, IDC_SIZE_B, IDC_MODIFIED_B})
        all.push_back(control_text(dialog, id));
    return all;
}
using field_list = std::vector<std::wstring>;

// Answers the shell's own confirmation box, the dialog other than `ours`, with `button`.
void answer_shell(dialog_script& script, HWND ours, const wchar_t* button) {
    HWND box = script.find(L"", ours);
    if (!box) return;
    const int id = button_named(box, button);
    if (!id) return script.fail(L"no button " + std::wstring(button) + L" in \"" + caption_of(box) + L"\"");
    press(box, id);
    script.gone(box);
}

}  // namespace

class ActionDialog : public twin_window_test {
protected:
    // Opens the dialog through the window's opener; `steps` run on the helper
    // thread once it shows.
    void run_dialog(const std::function<void(dialog_script&, HWND)>& steps) {
        EXPECT_EQ(drive_dialog(caption, [&] { return orvkit::open_action_dialog(window); }, steps), 1);
    }
};

TEST_F(ActionDialog, FieldsOfBothFilesOnTheStatusRowAndWithNoFocusedRow) {
    temp_folder files;
    const std::wstring big = files.make_sparse_file(L"big.bin", (5ull << 30) + 2);
    const std::wstring small = files.make_file(L"small.txt", "abc");
    set_written(big, 2024, 3, 5, 14, 7, 9);
    set_written(small, 2023, 11, 20, 8, 30, 0);
    add_row(L"Start", L"2 files found", L"");
    add_row(big, small, L"100");
    add_row(L"Finished", L"1 twins found in 2 files.", L"");
    const int tools_before = tool_count();
    for (int focused : {0, -1}) {
        focus_row(focused);
        field_list seen;
        int tools_open = 0;
        run_dialog([&](dialog_script& s, HWND dialog) {
            seen = fields(dialog);
            tools_open = tool_count();
            press(dialog, IDCANCEL);
            s.gone(dialog);
        });
        EXPECT_EQ(seen, (field_list{L"These files were found to be 100% the same.", big, L"5368709122",
                                    L"2:07:09 PM 3/5/2024", small, L"3", L"8:30:00 AM 11/20/2023"}))
            << focused;
        EXPECT_GT(tools_open, tools_before);
        EXPECT_EQ(run_status.load(), orvkit::status_idle) << "Close asks nothing of the window";
    }
    EXPECT_EQ(tool_count(), tools_before) << "the dialog's tips leave with it";
    EXPECT_EQ(list_row_count(), 3);
}

TEST_F(ActionDialog, NothingOpensInFileModeWhileBusyOrWithoutARowToShow) {
    add_row(L"Start", L"0 files found", L"");
    add_row(L"Finished", L"0 twins found in 0 files.", L"");
    focus_row(1);
    const std::size_t before = visible_dialogs().size();
    // No pair (the fill finds none and the dialog ends at once), File mode, a search running.
    using orvkit::status_comparing, orvkit::status_idle;
    for (auto [mode, status] : {std::pair{2u, status_idle}, {0u, status_idle}, {2u, status_comparing}}) {
        search_mode = mode;
        run_status = status;
        EXPECT_EQ(orvkit::open_action_dialog(window), 1) << mode;
    }
    run_status = orvkit::status_idle;
    EXPECT_EQ(visible_dialogs().size(), before);
}

TEST_F(ActionDialog, DeleteFileThroughTheShellThenTheNextPairThenClosingAfterTheLast) {
    temp_folder files;
    const std::wstring a1 = files.make_file(L"first one.txt", "one"), b1 = files.make_file(L"first two.txt", "one");
    const std::wstring a2 = files.make_file(L"second one.txt", "second"), b2 = files / L"second two.txt";
    set_written(b1, 2020, 1, 2, 3, 4, 5);
    add_row(L"Start", L"4 files found", L"");
    add_row(a1, b1, L"Deleted A");
    add_row(a2, b2, L"100");  // its file B is gone: the pair is shown, B's fields are empty
    add_row(L"Finished", L"2 twins found in 4 files.", L"");
    focus_row(1);
    field_list declined, first;
    std::wstring warning;
    bool kept_on_no = false, closed_by_last = false;
    run_dialog([&](dialog_script& s, HWND dialog) {
        press(dialog, IDC_DELETE_B);
        answer_shell(s, dialog, L"No");
        declined = fields(dialog);
        press(dialog, IDC_DELETE_A);
        answer_shell(s, dialog, L"Yes");
        first = fields(dialog);
        // File B is gone: the program warns before the shell asks, and No keeps A.
        press(dialog, IDC_DELETE_A);
        if (HWND box = s.find(L"Ostrand 2.0", dialog)) warning = dialog_texts(box);
        answer_shell(s, dialog, L"No");
        kept_on_no = exists(a2) && IsWindow(dialog) && visible_dialogs().size() == 1;
        press(dialog, IDC_DELETE_A);
        answer_shell(s, dialog, L"Yes");
        answer_shell(s, dialog, L"Yes");
        closed_by_last = s.gone(dialog);
    });
    EXPECT_NE(warning.find(L"cannot be opened"), std::wstring::npos) << warning;
    EXPECT_TRUE(kept_on_no);
    ASSERT_EQ(declined.size(), 7u);
    EXPECT_EQ(declined[0], L"These files were found to be Deleted A% the same.");
    EXPECT_EQ(field_list(declined.begin() + 4, declined.end()), (field_list{b1, L"3", L"3:04:05 AM 1/2/2020"}))
        << "declined: nothing changed";
    EXPECT_TRUE(exists(b1));
    ASSERT_EQ(first.size(), 7u);
    EXPECT_EQ(first[0], L"These files were found to be 100% the same. File B can no longer be found.");
    EXPECT_EQ(first[1] + L"|" + first[2], a2 + L"|6");
    EXPECT_EQ(field_list(first.begin() + 4, first.end()), (field_list{b2, L"", L""}))
        << "B's size and time are cleared, not left from the earlier pair";
    EXPECT_TRUE(closed_by_last) << "after the last pair the dialog closes by itself";
    EXPECT_TRUE(in_trash(a1) && in_trash(a2)) << "to the recycle bin";
    EXPECT_FALSE(exists(a1) || exists(a2));
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
    field_list before, after;
    bool answered = false;
    run_dialog([&](dialog_script& s, HWND dialog) {
        before = fields(dialog);
        // Sent, not posted: the press is handled when the call returns. No viewer is
        // associated with this extension, and no box may wait for an answer.
        DWORD_PTR ignored = 0;
        answered = SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPEN_A, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_OPEN_A)), SMTO_NORMAL, 5000,
                                       &ignored) != 0;
        if (wait_until([] { return visible_dialogs().size() != 1; }, 1500)) s.fail(L"Open File showed a box");
        after = fields(dialog);
        press(dialog, IDC_DETAIL_VIEW);
        s.gone(dialog);
    });
    EXPECT_TRUE(answered) << "Open File returned without waiting for a viewer";
    EXPECT_EQ(after, before) << "a file without a viewer leaves the dialog as it was";
    EXPECT_EQ(search_mode.load(), 0u) << "Detail View switches to File mode";
    ASSERT_TRUE(pump_until([] { return run_status == orvkit::status_idle && list_row_count() >= 2; }));
    EXPECT_EQ(window_text(edit_a) + L"|" + window_text(edit_b), a + L"|" + b);
    EXPECT_EQ(list_cell(0, 0), L"Start");
    EXPECT_EQ(list_cell(list_row_count() - 1, 0) + L"|" + list_cell(list_row_count() - 1, 2), L"End|Same");
    EXPECT_EQ(search_mode.load(), 0u) << "and stays there";
}
