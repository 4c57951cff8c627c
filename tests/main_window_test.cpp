// The real main window driven by a user's messages, its band read pixel by pixel and by a screen reader.
#include "app/run_control.h"
#include "support/dialogs.h"

using namespace test_support;

constexpr COLORREF black = RGB(0, 0, 0);

struct MainWindow : main_window_test {
    void pretend_running(int32_t percent) {  // and the refresh timer ticks
        run_status = status_comparing;
        progress_percent = percent;
        SendMessageW(window, WM_TIMER, refresh_timer, 0);
    }
    void start_run() {
        make_worker_thread = no_worker;
        SetWindowTextW(edit_a, L"C:\\windows");
        click_at(start);
    }
};

// The captions are the path boxes' names for a screen reader too; the list is "Results".
TEST_F(MainWindow, EachClickOnTheModeSwitchShowsTheNextMode) {
    ASSERT_EQ(search_mode.load(), 2u) << "first start: Quick Dir";
    EXPECT_EQ(accessible_name(list_view), L"Results");
    const RECT first_caption{3, 75, 80, 90}, second_caption{3, 95, 80, 110};
    const auto ink = [&](RECT r) {
        return (r.right - r.left) * (r.bottom - r.top) - band().count(r, GetSysColor(COLOR_WINDOW));
    };
    const int search_this = ink(first_caption);
    for (uint32_t mode : {3u, 0u, 1u, 2u, 3u}) {
        list_insert_row(0, L"row");
        click_at(mode_switch);
        ASSERT_EQ(search_mode.load(), mode);
        const bool two_paths = mode == 0 || mode == 3;
        EXPECT_EQ(column_titles(), (mode == 0 ? std::vector<std::wstring>{L"Position", L"Length", L"Details"}
                                              : std::vector<std::wstring>{L"File A", L"File B", L"Percent"}));
        EXPECT_EQ(list_row_count(), 0) << "a mode change empties the list";
        EXPECT_EQ(IsWindowVisible(edit_b) != FALSE, two_paths) << mode;
        EXPECT_EQ(ink(second_caption) > 0, two_paths) << mode;
        EXPECT_EQ(ink(first_caption) == search_this, mode != 0) << "Compare this, else Search this";
        EXPECT_EQ(accessible_name(edit_a), mode == 0 ? L"Compare this" : L"Search this") << mode;
        if (two_paths) {
            EXPECT_EQ(accessible_name(edit_b), mode == 0 ? L"With this" : L"plus this") << mode;
        }
    }
}

// A release without a move onto the button first does nothing; a move straight on to another button disarms it.
TEST_F(MainWindow, OnlyTheButtonPointedAtLastActs) {
    list_insert_row(0, L"row");
    release_at(start);
    release_at(mode_switch);
    EXPECT_EQ(search_mode.load(), 2u);
    EXPECT_EQ(list_row_count(), 1);
    start_run();
    move_to(start);
    click_at(top);
    EXPECT_EQ(pause_code.load(), pause_paused);
    EXPECT_EQ(run_status.load(), status_running) << "not aborted";
    click_at(start);
    EXPECT_EQ(run_status.load(), status_abort) << "Start aborts a run";
}

// Empty path A (the list only empties), QDir+ without path B, a foreign settings file's mode, a failed thread.
TEST_F(MainWindow, AStartThatCannotRunLeavesTheWindowIdle) {
    make_worker_thread = no_worker;
    list_insert_row(0, L"row");
    click_at(start);
    EXPECT_EQ(list_row_count(), 0);
    EXPECT_EQ(run_status.load(), status_idle);
    SetWindowTextW(edit_a, L"C:\\windows");
    const worker_thread_maker failed = [](LPTHREAD_START_ROUTINE, HWND) -> HANDLE { return nullptr; };
    for (const auto& [mode, maker] : {std::pair{3u, worker_thread_maker{no_worker}}, {9u, no_worker}, {2u, failed}}) {
        search_mode = mode;
        make_worker_thread = maker;
        click_at(start);
        EXPECT_EQ(run_status.load(), status_idle) << mode;
    }
}

// Start-up leaves the go event set and manual-reset; a pause code left by an abort that raced a run's end is cleared.
TEST_F(MainWindow, StartBeginsARunThatNeitherWaitsNorAborts) {
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0);
    pause_code = pause_aborting;
    start_run();
    EXPECT_EQ(pause_code.load(), pause_running);
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0);
}

// Quick Dir's hidden second Choose never lights.
TEST_F(MainWindow, OnlyTheUsableButtonUnderThePointerLights) {
    const COLORREF face = RGB(213, 215, 183), lit = RGB(229, 231, 199);
    EXPECT_EQ(band().at(width - 160, 27), face);
    move_to(start);
    const capture hovered = band();
    EXPECT_EQ((std::vector{hovered.at(width - 160, 27), hovered.at(width - 80, 27), hovered.at(width - 53, 14)}),
              (std::vector{lit, lit, face})) << "Start's left and right, the top button";
    move_to({width - 30, 103});
    EXPECT_EQ(hover_choose_b, 0);
}

// File shows the knob as loaded, its wedge's broad end opposite the tip at "File"; Directory mirrors it left to
// right, QDir+ top to bottom, Quick Dir turns it half round.
TEST_F(MainWindow, TheKnobPointsAtEachMode) {
    search_mode = 0;
    const capture file = band();
    EXPECT_EQ(file.at(25, 15), RGB(197, 199, 167)) << "the knob's corner";
    EXPECT_GT(file.count({37, 27, 43, 33}, black), file.count({30, 20, 36, 26}, black));
    for (uint32_t mode = 1; mode < 4; ++mode) {
        search_mode = mode;
        const capture shot = band();
        int wrong = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                wrong += shot.at(25 + x, 15 + y) != file.at(mode == 3 ? 25 + x : 48 - x, mode == 1 ? 15 + y : 38 - y);
        EXPECT_EQ(wrong, 0) << "mode " << mode;
    }
}

// The bar ends at its share of the width (over 100 kept as 99, 100 after the run), shows its percentage past x 25,
// is blank at width 200; the status line shows the path the worker publishes, not path_a, which it changes.
TEST_F(MainWindow, TheBandPaintsTheRunsProgress) {
    for (int percent : {0, 10, 50, 100, 150}) {
        pretend_running(percent);
        const capture shot = band();
        const int right = (width - 175) * (percent > progress_finished ? 99 : percent) / 100;
        EXPECT_EQ(shot.count({0, 5, width - 175, 20}, black) == 0, percent == 0) << "no bar at 0%";
        if (percent == 0) continue;
        EXPECT_EQ(shot.count({3, 5, 4, 20}, black) + shot.count({right - 1, 5, right, 20}, black), 30) << percent;
        EXPECT_EQ(shot.count({2, 5, 3, 20}, black) + shot.count({right, 5, right + 1, 20}, black), 0) << percent;
    }
    EXPECT_EQ(progress_percent.load(), 99);
    end_worker_run();
    band();
    EXPECT_EQ(progress_percent.load(), 100);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(675, height));  // 500 pixels of bar at 100%
    pretend_running(5);
    EXPECT_EQ(band(675).count({3, 5, 25, 20}, black), 22 * 15) << "a plain black bar up to x 25";
    pretend_running(6);
    EXPECT_GT(band(675).count({3, 5, 30, 20}, RGB(255, 255, 255)), 5) << "white text on the bar";
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, height));
    EXPECT_EQ(band(200).count({0, 0, 200, 120}, GetSysColor(COLOR_WINDOW)), 200 * 120);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    shown_path.set(L"C:\\Users\\j.smith\\Photos\\harbour.jpg");
    pretend_running(42);
    pause_code = pause_paused;
    const capture running = print_client(window, width, height, true);
    EXPECT_EQ(running.at((width - 175) * 42 / 100 - 1, 6), black) << "the screen shows the band as painted";
    EXPECT_GT(150 * 20 - running.count({3, 30, 153, 50}, GetSysColor(COLOR_WINDOW)), 50);
}

// The taskbar's object is made by a run's first tick, and only once.
TEST_F(MainWindow, ARunsFirstTickMakesTheTaskbarObjectOnce) {
    static int made = 0;
    make_taskbar_list = [] {
        ++made;
        return make_shell_taskbar_list();
    };
    band();
    EXPECT_EQ(made, 0) << "no COM call before the first run";
    for (int percent : {10, 50}) {
        pretend_running(percent);
        band();
    }
    EXPECT_EQ(made, 1);
    EXPECT_NE(app_state->taskbar.list(), nullptr) << "the shell's";
}

// The file system says what a name is; only a drop's first name counts; nothing is taken while busy.
TEST_F(MainWindow, ADropFillsThePathBoxesWithWhatTheModeUses) {
    const std::wstring file = tree.make_file(L"one.txt", "1"), plain_file = tree.make_file(L"two", "2");
    const std::wstring dotted = tree.make_folder(L"j.smith\\Photos.2024"), plain = tree.make_folder(L"plain");
    std::wstring deep = tree.path();  // 1201 characters, the first 1199 naming its parent: a cut name points there
    while (deep.size() + 62 < 1199) deep += L"\\" + std::wstring(60, L'd');
    deep += L"\\" + std::wstring(1198 - deep.size(), L'e') + L"\\f";
    ASSERT_EQ(tree.make_folder(deep.substr(tree.path().size() + 1)), deep);
    using boxes = std::pair<std::wstring, std::wstring>;
    auto drops_give = [&](uint32_t mode, const std::vector<std::wstring>& names) {
        search_mode = mode;
        SetWindowTextW(edit_a, L"");
        SetWindowTextW(edit_b, L"");
        for (const std::wstring& name : names) drop_names(window, {name});
        return boxes{window_text(edit_a), window_text(edit_b)};
    };
    for (uint32_t mode : {1u, 2u}) {
        EXPECT_EQ(drops_give(mode, {dotted, file, plain_file, tree / L"gone.txt", deep}), boxes(dotted, L"")) << mode;
        EXPECT_EQ(drops_give(mode, {dotted, plain}), boxes(plain, L"")) << mode;
    }
    EXPECT_EQ(drops_give(0, {file, plain, dotted, tree / L"gone.txt", deep, plain_file}), boxes(file, plain_file));
    drop_names(window, {plain_file, file});  // A comes round again
    EXPECT_EQ(window_text(edit_a), plain_file);
    EXPECT_EQ(drops_give(3, {plain, file}), boxes());
    run_status = status_comparing;
    EXPECT_EQ(drops_give(2, {plain}), boxes());
}

// Cancel goes on; OK aborts, wakes a paused worker and closes once the worker ends, without writing the options.
TEST_F(MainWindow, ClosingWhileBusyAsksFirst) {
    app_state->data_path = tree.path() + L"\\";  // no settings file may appear here
    auto list = make_file_list();
    app_state->scan_list.store(list);
    run_status = status_comparing;
    pause_code = pause_paused;
    ResetEvent(go_event.get());
    auto close_answering = [&](int button) {
        drive_dialog(L"Confirm", [&] { return SendMessageW(window, WM_CLOSE, 0, 0); }, [&](dialog_script&, HWND box) {
            EXPECT_NE(dialog_texts(box).find(L"Ostrand is busy; abandon and quit?|"), std::wstring::npos);
            press(box, button);
        });
    };
    close_answering(IDCANCEL);
    pump_for(1300);
    EXPECT_TRUE(IsWindow(window)) << "no close is pending";
    EXPECT_EQ(run_status.load(), status_comparing);
    close_answering(IDOK);
    EXPECT_EQ(run_status.load(), status_abort);
    EXPECT_EQ(pause_code.load(), pause_aborting);
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(list->status.load(), 10u) << "stops a walk in progress";
    pump_for(1300);
    EXPECT_TRUE(IsWindow(window)) << "waits for the worker past a tick of the close timer";
    end_worker_run();
    EXPECT_TRUE(pump_until([&] { return !IsWindow(window); }, 5000));
    EXPECT_FALSE(exists(tree / L"dVelk.dat"));
}

TEST_F(MainWindow, TheBandsControlsAreNamedForAScreenReader) {
    const auto band_names = [&] {
        std::wstring names;
        for (long child = 1; child <= 6; ++child) names += accessible_name(window, child) + L"|";
        return names;
    };
    EXPECT_EQ(band_names(), L"Mode: Quick Dir|Start|About|Help|Choose|Choose (unavailable)|");
    POINT start_face{static_cast<LONG>(client_width) - 170, 15};
    ClientToScreen(window, &start_face);
    accessible_name(window, 2, [&](IAccessible* object, VARIANT start) {
        long left = 0, top = 0, wide = 0, high = 0;
        object->accLocation(&left, &top, &wide, &high, start);
        EXPECT_EQ((std::vector<long>{left, top, wide, high}), (std::vector<long>{start_face.x, start_face.y, 100, 24}));
    });
    accessible_name(window, 1, [](IAccessible* object, VARIANT knob) { object->accDoDefaultAction(knob); });
    pump_for(50);
    EXPECT_EQ(search_mode.load(), mode_qdir_plus) << "the mode switch pressed by a screen reader";
    EXPECT_EQ(band_names(), L"Mode: QDir+|Start|About|Help|Choose|Choose|") << "the second Choose serves QDir+";
    search_mode = mode_file;
    run_status = status_comparing;
    pause_code = pause_paused;
    EXPECT_EQ(band_names(),
              L"Mode: File (unavailable)|Abort|Resume|Help (unavailable)|Choose (unavailable)|Choose (unavailable)|");
}
