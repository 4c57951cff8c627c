// The main window driven by pointer moves and clicks at its painted buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include "actions/compare.h"
#include "app/globals.h"
#include "app/run_control.h"
#include "app/state.h"
#include "search/search_worker.h"
#include "support/dialog_watchdog.h"
#include "support/fake_worker.h"
#include "support/pump.h"
#include "support/temp_folder.h"
#include "support/window_fixture.h"
#include "ui/results_list.h"

using namespace test_support;

namespace {

using MainWindowClicks = main_window_test;

bool event_set(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

void add_rows(int count) {
    for (int i = 0; i < count; ++i) orvkit::list_insert_row(i, L"row");
}

// Simulates a worker in its comparison phase without running one.
void pretend_running(int32_t status = 201) {
    run_status = status;
    pause_code = 0;
}

}  // namespace

TEST_F(MainWindowClicks, ModeSwitchCyclesWithColumnsAndSecondPathBox) {
    ASSERT_EQ(search_mode.load(), 2u) << "first start: Quick Dir";
    struct expected {
        uint32_t mode;
        const wchar_t* first_column;
        const wchar_t* last_column;
        bool second_box;
    };
    const expected cycle[] = {{3, L"File A", L"Percent", true},
                              {0, L"Position", L"Details", true},
                              {1, L"File A", L"Percent", false},
                              {2, L"File A", L"Percent", false},
                              {3, L"File A", L"Percent", true}};
    for (const expected& step : cycle) {
        add_rows(3);
        click_at(window, at.mode_switch());
        EXPECT_EQ(search_mode.load(), step.mode);
        const auto titles = column_titles();
        ASSERT_EQ(titles.size(), 3u) << "mode " << step.mode;
        EXPECT_EQ(titles[0], step.first_column) << "mode " << step.mode;
        EXPECT_EQ(titles[2], step.last_column) << "mode " << step.mode;
        EXPECT_EQ(IsWindowVisible(edit_b) != FALSE, step.second_box) << "mode " << step.mode;
        EXPECT_EQ(list_rows(), 0) << "a mode change empties the list";
    }
}

TEST_F(MainWindowClicks, ForeignModeWrapsToFileAndStartsNoWorker) {
    orvkit::make_worker_thread = record_worker_start;
    search_mode = 9;
    SetWindowTextW(edit_a, L"C:\\windows");
    SetWindowTextW(edit_b, L"C:\\windows");
    click_at(window, at.start());
    EXPECT_EQ(run_status.load(), 0) << "no worker knows mode 9: the window stays idle";
    EXPECT_TRUE(worker_starts.empty());

    click_at(window, at.nowhere());
    click_at(window, at.mode_switch());
    EXPECT_EQ(search_mode.load(), 0u);
}

TEST_F(MainWindowClicks, ClickWithoutMoveOverAButtonDoesNothing) {
    orvkit::make_worker_thread = record_worker_start;
    SetWindowTextW(edit_a, L"C:\\windows");
    add_rows(2);
    const POINT start = at.start();
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(start.x, start.y));
    const POINT mode = at.mode_switch();
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(mode.x, mode.y));
    EXPECT_EQ(run_status.load(), 0);
    EXPECT_TRUE(worker_starts.empty());
    EXPECT_EQ(search_mode.load(), 2u);
    EXPECT_EQ(list_rows(), 2);

    // Moving off a button disarms it.
    move_to(window, start.x, start.y);
    move_to(window, at.nowhere().x, at.nowhere().y);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(start.x, start.y));
    EXPECT_TRUE(worker_starts.empty());
}

TEST_F(MainWindowClicks, MovingStraightToAnotherButtonDisarmsTheFirst) {
    pretend_running();
    move_to(window, at.start().x, at.start().y);
    click_at(window, at.top());  // no move in between outside the buttons
    EXPECT_EQ(pause_code.load(), 5) << "the top button paused";
    EXPECT_EQ(run_status.load(), 201) << "Abort was not pressed";
    EXPECT_EQ(hover_start, 0);
    EXPECT_EQ(hover_top, 1);
}

TEST_F(MainWindowClicks, StartWithAnEmptyPathOnlyEmptiesTheList) {
    orvkit::make_worker_thread = record_worker_start;
    add_rows(4);
    click_at(window, at.start());
    EXPECT_EQ(list_rows(), 0);
    EXPECT_EQ(run_status.load(), 0);

    // QDir+ needs the second path too.
    click_at(window, at.nowhere());
    click_at(window, at.mode_switch());
    ASSERT_EQ(search_mode.load(), 3u);
    SetWindowTextW(edit_a, L"C:\\windows");
    add_rows(4);
    click_at(window, at.start());
    EXPECT_EQ(list_rows(), 0);
    EXPECT_EQ(run_status.load(), 0);
    EXPECT_TRUE(worker_starts.empty());
}

TEST_F(MainWindowClicks, StartPicksTheWorkerOfTheModeAndReadsThePaths) {
    orvkit::make_worker_thread = record_worker_start;
    temp_folder folder;
    const std::wstring a = folder.make_file(L"a.bin", "aaaa");
    const std::wstring b = folder.make_file(L"b.bin", "aaab");
    SetWindowTextW(edit_a, a.c_str());
    SetWindowTextW(edit_b, b.c_str());
    progress_percent = 100;
    twin_count = 7;
    pause_code = 10;  // left over from an abort that raced with the last run's end

    click_at(window, at.start());  // Quick Dir
    ASSERT_EQ(worker_starts.size(), 1u);
    EXPECT_EQ(worker_starts[0].routine, &orvkit::search_worker);
    EXPECT_EQ(worker_starts[0].window, window);
    EXPECT_EQ(run_status.load(), 1);
    EXPECT_EQ(progress_percent.load(), 0);
    EXPECT_EQ(twin_count.load(), 0);
    EXPECT_EQ(pause_code.load(), 0) << "a fresh run is neither paused nor aborted";
    EXPECT_TRUE(event_set(go_event));
    EXPECT_EQ(path_a, a);
    end_fake_run();

    click_at(window, at.nowhere());
    click_at(window, at.mode_switch());  // QDir+
    click_at(window, at.mode_switch());  // File
    ASSERT_EQ(search_mode.load(), 0u);
    click_at(window, at.start());
    ASSERT_EQ(worker_starts.size(), 2u);
    EXPECT_EQ(worker_starts[1].routine, &orvkit::compare_files);
    EXPECT_EQ(path_a, a);
    EXPECT_EQ(path_b, b);
    EXPECT_GE(path_a.capacity(), 1200u) << "the reserved room stays";
}

TEST_F(MainWindowClicks, FailedThreadStartLeavesTheWindowIdle) {
    orvkit::make_worker_thread = fail_worker_start;
    SetWindowTextW(edit_a, L"C:\\windows");
    click_at(window, at.start());
    ASSERT_EQ(worker_starts.size(), 1u);
    EXPECT_EQ(run_status.load(), 0);

    // Idle again: the next click is a Start, not an Abort.
    orvkit::make_worker_thread = record_worker_start;
    click_at(window, at.start());
    EXPECT_EQ(worker_starts.size(), 2u);
    EXPECT_EQ(run_status.load(), 1);
}

TEST_F(MainWindowClicks, PauseResumeAndAbortDriveTheFlagsAndTheEvent) {
    auto list = orvkit::make_file_list();
    std::atomic_store(&app_state->scan_list, list);
    pretend_running();

    click_at(window, at.top());
    EXPECT_EQ(pause_code.load(), 5);
    EXPECT_FALSE(event_set(go_event)) << "paused: the worker waits";
    click_at(window, at.nowhere());
    click_at(window, at.top());
    EXPECT_EQ(pause_code.load(), 0);
    EXPECT_TRUE(event_set(go_event));

    // Abort while paused wakes the worker so that it can end.
    click_at(window, at.top());
    ASSERT_FALSE(event_set(go_event));
    click_at(window, at.start());
    EXPECT_TRUE(event_set(go_event));
    EXPECT_EQ(run_status.load(), 2);
    EXPECT_EQ(pause_code.load(), 10);
    EXPECT_EQ(list->status.load(), 10u) << "stops a walk in progress";

    // While aborting, the top button neither pauses nor resumes.
    click_at(window, at.nowhere());
    click_at(window, at.top());
    EXPECT_EQ(pause_code.load(), 10);
    EXPECT_TRUE(event_set(go_event));
}

TEST_F(MainWindowClicks, AbortAfterTheWorkerEndedChangesNothing) {
    pretend_running();
    end_fake_run();
    EXPECT_FALSE(orvkit::abort_run());
    EXPECT_EQ(run_status.load(), 0) << "no status 2 is left with no worker to clear it";
    EXPECT_EQ(pause_code.load(), 0);
}

TEST_F(MainWindowClicks, BusyWindowLightsOnlyTheButtonsThatWork) {
    pretend_running();
    move_to(window, at.help().x, at.help().y);
    EXPECT_EQ(hover_help, 0);
    move_to(window, at.choose_a().x, at.choose_a().y);
    EXPECT_EQ(hover_choose_a, 0);
    move_to(window, at.mode_switch().x, at.mode_switch().y);
    EXPECT_EQ(hover_mode, 0);
    move_to(window, at.top().x, at.top().y);
    EXPECT_EQ(hover_top, 1);
    move_to(window, at.start().x, at.start().y);
    EXPECT_EQ(hover_start, 1);

    // Idle in Quick Dir the second Choose has no path box to fill.
    end_fake_run();
    move_to(window, at.choose_b().x, at.choose_b().y);
    EXPECT_EQ(hover_choose_b, 0);
    EXPECT_EQ(hover_start, 0);
}

TEST_F(MainWindowClicks, DoubleClickOpensThePairOnlyInFolderModesWhileIdle) {
    for (int i = 0; i < 3; ++i) orvkit::list_insert_row(i, L"row");
    LVITEMW focus{};
    focus.stateMask = LVIS_FOCUSED;
    focus.state = LVIS_FOCUSED;
    SendMessageW(list_view, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&focus));
    ASSERT_EQ(orvkit::list_focused_row(), 0);

    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = list_view;
    activate.hdr.code = NM_DBLCLK;
    row_item.iItem = -7;
    EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate)), 1);
    EXPECT_EQ(row_item.iItem, 1) << "the status row opens the first pair";

    row_item.iItem = -7;
    pretend_running();
    SendMessageW(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate));
    EXPECT_EQ(row_item.iItem, -7) << "nothing opens while busy";
    end_fake_run();

    search_mode = 0;
    SendMessageW(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate));
    EXPECT_EQ(row_item.iItem, -7) << "nothing opens in File mode";
}

// Answers the file picker by typing `path` and pressing Open.
void choose_with_picker(HWND window, POINT button, const std::wstring& path) {
    expect_dialogs expected;
    dialog_answerer answer(IDOK, [&](HWND dialog) {
        wchar_t folder[1024] = {};
        pump_until([&] { return SendMessageW(dialog, CDM_GETFOLDERPATH, 1024, reinterpret_cast<LPARAM>(folder)) > 1; },
                   5000);
        SetDlgItemTextW(dialog, 0x47c, path.c_str());
    });
    click_at(window, button);
    EXPECT_TRUE(answer.answered());
    click_at(window, POINT{10, 60});
}

TEST_F(MainWindowClicks, ChooseFillsThePathBoxOfItsRow) {
    temp_folder folder;
    const std::wstring a = folder.make_file(L"a.txt", "a");
    const std::wstring b = folder.make_file(L"b.txt", "b");
    search_mode = 0;
    orvkit::set_list_columns(window);
    choose_with_picker(window, at.choose_b(), b);
    EXPECT_EQ(window_text(edit_b), b);
    EXPECT_EQ(window_text(edit_a), L"");
    choose_with_picker(window, at.choose_a(), a);
    EXPECT_EQ(window_text(edit_a), a);

    // A folder mode without a second path: the first box.
    search_mode = 2;
    orvkit::set_list_columns(window);
    SetWindowTextW(edit_a, L"");
    choose_with_picker(window, at.choose_a(), b);
    EXPECT_EQ(window_text(edit_a), b);

    // Cancel changes nothing.
    expect_dialogs expected;
    dialog_answerer cancel(IDCANCEL);
    click_at(window, at.choose_a());
    EXPECT_TRUE(cancel.answered());
    EXPECT_EQ(window_text(edit_a), b);
}

TEST(WorkerStart, WorkerThreadHasRoomForADeepWalk) {
    struct result {
        ULONG_PTR low = 0, high = 0;
        HWND window = nullptr;
    };
    static result seen;
    auto routine = [](LPVOID parameter) -> DWORD {
        GetCurrentThreadStackLimits(&seen.low, &seen.high);
        seen.window = static_cast<HWND>(parameter);
        return 0;
    };
    HWND marker = reinterpret_cast<HWND>(0x1234);
    HANDLE thread = orvkit::create_worker_thread(routine, marker);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(seen.window, marker);
    EXPECT_GE(seen.high - seen.low, 60u << 20) << "reserved stack, bytes";
}
