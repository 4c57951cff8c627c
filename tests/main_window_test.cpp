// The real main window driven by a user's messages, its band read pixel by pixel; the results list's rows.
#include <oleacc.h>

#include <thread>

#include "core/run_protocol.h"
#include "support/dialogs.h"
#include "ui/results_list.h"

using namespace test_support;
using namespace orvkit;

namespace {
constexpr COLORREF face = RGB(213, 215, 183), black = RGB(0, 0, 0), white = RGB(255, 255, 255);
const COLORREF background = GetSysColor(COLOR_WINDOW);

class MainWindow : public main_window_test {
protected:
    capture band(int w = width) { return print_client(window, w, 120); }
    int ink(RECT r) { return (r.right - r.left) * (r.bottom - r.top) - band().count(r, background); }
    void pretend_running(int32_t percent) {  // and the refresh timer ticks
        run_status = status_comparing;
        progress_percent = percent;
        SendMessageW(window, WM_TIMER, refresh_timer, 0);
    }
    // What a screen reader reads through the system's accessibility interface: the name of `control`, or of
    // its child `child`, with " (unavailable)" when it cannot be used now; `also` is then called with the object.
    static std::wstring accessible_name(HWND control, long child = CHILDID_SELF,
                                        const std::function<void(IAccessible*, VARIANT)>& also = nullptr) {
        // IID_IAccessible, spelled out: mingw's uuid and oleacc libraries both define it.
        const IID accessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
        const auto from_window = reinterpret_cast<HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
        IAccessible* object = nullptr;
        if (!from_window || from_window(control, OBJID_CLIENT, accessible, reinterpret_cast<void**>(&object)) != S_OK)
            return L"(no accessible object)";
        VARIANT id{.vt = VT_I4};
        id.lVal = child;
        BSTR name = nullptr;
        object->get_accName(id, &name);
        VARIANT state{};
        object->get_accState(id, &state);
        std::wstring text = name ? name : L"";
        if (state.lVal & STATE_SYSTEM_UNAVAILABLE) text += L" (unavailable)";
        if (also) also(object, id);
        SysFreeString(name);
        object->Release();
        return text;
    }
};

std::wstring cell_text(int row, int column) {
    const wchar_t* kinds[] = {L"Z:\\tree\\a\\file", L"Z:\\tree\\b\\copy", L""};
    return column == 2 ? std::to_wstring(row % 101) : kinds[column] + std::to_wstring(row) + L".bin";
}

void write_rows(int count) {
    for (int row = 0; row < count; ++row) {
        list_insert_row(row, cell_text(row, 0).c_str());
        list_set_cell(row, 1, cell_text(row, 1).c_str());
        list_set_cell(row, 2, cell_text(row, 2).c_str());
    }
}

using ResultsList = MainWindow;
}  // namespace

// The captions are the path boxes' names for a screen reader too; the list is "Results".
TEST_F(MainWindow, ModeSwitchCyclesCaptionsPathBoxBAndColumns) {
    ASSERT_EQ(search_mode.load(), 2u) << "first start: Quick Dir";
    EXPECT_EQ(accessible_name(list_view), L"Results");
    const RECT first_caption{3, 75, 80, 90}, second_caption{3, 95, 80, 110};
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

TEST_F(MainWindow, ClicksThatStartNothingAFailedThreadStartAndAFreshRunNotAborted) {
    // Start-up leaves the go event set, and manual-reset: a worker started now runs without waiting.
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0);
    make_worker_thread = no_worker;
    list_insert_row(0, L"row");
    release_at(start);  // no move onto the buttons first
    release_at(mode_switch);
    EXPECT_EQ(search_mode.load(), 2u);
    move_to({width - 30, 103});
    EXPECT_EQ(hover_choose_b, 0) << "Quick Dir shows no second Choose to light";
    EXPECT_EQ(list_row_count(), 1);
    click_at(start);
    EXPECT_EQ(list_row_count(), 0) << "empty path A: the list only empties";
    click_at(mode_switch);
    SetWindowTextW(edit_a, L"C:\\windows");
    click_at(start);
    EXPECT_EQ(run_status.load(), status_idle) << "QDir+ with an empty path B";
    // From a foreign settings file, a mode no worker knows; a thread that could not be made.
    const worker_thread_maker failed = [](LPTHREAD_START_ROUTINE, HWND) -> HANDLE { return nullptr; };
    for (const auto& [mode, maker] : {std::pair{9u, worker_thread_maker{no_worker}}, {2u, failed}}) {
        search_mode = mode;
        make_worker_thread = maker;
        click_at(start);
        EXPECT_EQ(run_status.load(), status_idle) << "no worker will ever clear the status";
    }
    make_worker_thread = no_worker;
    pause_code = pause_aborting;  // left over from an abort that raced with the last run's end
    click_at(start);
    EXPECT_EQ(run_status.load(), status_running) << "a Start again, not an Abort";
    EXPECT_EQ(pause_code.load(), pause_running);
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0);
    move_to(start);  // straight on to the top button: only the last one is armed
    click_at(top);
    EXPECT_EQ(pause_code.load(), pause_paused) << "paused";
    EXPECT_EQ(run_status.load(), status_running) << "not aborted";
    click_at(start);  // Abort
    EXPECT_EQ(run_status.load(), status_abort);
}

TEST(WorkerStart, WorkerThreadHasRoomForADeepWalk) {
    static ULONG_PTR low = 0, high = 0;
    auto routine = [](LPVOID) -> DWORD {
        GetCurrentThreadStackLimits(&low, &high);
        return 0;
    };
    HANDLE thread = create_worker_thread(routine, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_GE(high - low, 60u << 20) << "reserved stack, bytes";
}

TEST_F(MainWindow, DropsTakeWhatTheModeUsesAndTheFileSystemSaysWhatANameIs) {
    temp_folder folder;
    const std::wstring file = folder.make_file(L"one.txt", "1"), plain_file = folder.make_file(L"two", "2");
    const std::wstring dotted = folder.make_folder(L"j.smith\\Photos.2024"), plain = folder.make_folder(L"plain");
    std::wstring deep = folder.path();  // 1201 characters, the first 1199 naming its parent: a cut name points there
    while (deep.size() + 62 < 1199) deep += L"\\" + std::wstring(60, L'd');
    deep += L"\\" + std::wstring(1198 - deep.size(), L'e') + L"\\f";
    ASSERT_EQ(folder.make_folder(deep.substr(folder.path().size() + 1)), deep);
    auto drops_give = [&](uint32_t mode, const std::vector<std::wstring>& names) {
        search_mode = mode;
        SetWindowTextW(edit_a, L"");
        SetWindowTextW(edit_b, L"");
        for (const std::wstring& name : names) drop_names(window, {name});
        return window_text(edit_a) + L"|" + window_text(edit_b);
    };
    for (uint32_t mode : {1u, 2u}) {
        EXPECT_EQ(drops_give(mode, {dotted, file, plain_file, folder / L"gone.txt", deep}), dotted + L"|") << mode;
        EXPECT_EQ(drops_give(mode, {dotted, plain}), plain + L"|") << mode;
    }
    EXPECT_EQ(drops_give(0, {file, plain, dotted, folder / L"gone.txt", deep, plain_file}), file + L"|" + plain_file);
    drop_names(window, {plain_file, file});  // only the first name counts; A comes round again
    EXPECT_EQ(window_text(edit_a), plain_file);
    EXPECT_EQ(drops_give(3, {plain, file}), L"|");
    run_status = status_comparing;
    EXPECT_EQ(drops_give(2, {plain}), L"|") << "ignored while busy";
}

// Closing while a search runs asks first: Cancel goes on; OK aborts, wakes a paused worker and closes once the
// worker ends, without writing the options changed meanwhile.
TEST_F(MainWindow, BusyCloseAsksCancelGoesOnAndOkClosesOnceTheWorkerEnds) {
    temp_folder data;  // no settings file may appear here
    app_state->data_path = data.path() + L"\\";
    auto list = make_file_list();
    std::atomic_store(&app_state->scan_list, list);
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
    EXPECT_FALSE(exists(data / L"dVelk.dat"));
}

TEST_F(MainWindow, StartButtonLitWhenHoveredAndTheKnobTurnedForEachMode) {
    const int left = width - 170;
    EXPECT_EQ(band().at(left + 10, 27), face);
    move_to(start);
    const capture hovered = band();
    EXPECT_EQ(hovered.at(left + 10, 27), RGB(229, 231, 199));
    EXPECT_EQ(hovered.at(left + 90, 27), RGB(229, 231, 199));
    EXPECT_EQ(hovered.at(width - 58 + 5, 14), face) << "only the hovered button lights";
    // File shows the knob as loaded, its wedge's broad end opposite the tip at "File"; Directory
    // mirrors it left to right, QDir+ top to bottom, Quick Dir turns it half round.
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

// The taskbar's object is made by a run's first tick, and only once; the paint after the run ends it at 100%.
TEST_F(MainWindow, ProgressBarEndsAtItsSharePercentageShowsPastX25BlankAt200AndTheTaskbar) {
    static int made = 0;
    make_taskbar_list = [] {
        ++made;
        return make_shell_taskbar_list();
    };
    band();
    EXPECT_EQ(made, 0) << "no COM call before the first run";
    for (int percent : {0, 10, 50, 100, 150}) {
        pretend_running(percent);
        const capture shot = band();
        const int right = (width - 175) * (percent > progress_finished ? 99 : percent) / 100;
        EXPECT_EQ(shot.count({0, 5, width - 175, 20}, black) == 0, percent == 0) << "no bar at 0%";
        if (percent == 0) continue;
        EXPECT_EQ(shot.count({3, 5, 4, 20}, black) + shot.count({right - 1, 5, right, 20}, black), 30) << percent;
        EXPECT_EQ(shot.count({2, 5, 3, 20}, black) + shot.count({right, 5, right + 1, 20}, black), 0) << percent;
    }
    EXPECT_EQ(progress_percent.load(), 99) << "an overlarge percentage is kept as 99";
    EXPECT_EQ(made, 1) << "one taskbar object";
    EXPECT_NE(app_state->taskbar.list(), nullptr) << "the shell's";
    end_worker_run();
    band();
    EXPECT_EQ(progress_percent.load(), 100) << "the progress cleared";
    // The status line shows the path the worker publishes, not path_a, which it changes.
    shown_path.set(L"C:\\Users\\j.smith\\Photos\\harbour.jpg");
    pretend_running(42);
    pause_code = pause_paused;
    const capture running = print_client(window, width, height, true);
    EXPECT_EQ(running.at((width - 175) * 42 / 100 - 1, 6), black) << "the screen shows the band as painted";
    EXPECT_GT(150 * 20 - running.count({3, 30, 153, 50}, background), 50) << "the status line";
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(675, height));  // 500 pixels of bar at 100%
    pretend_running(5);
    EXPECT_EQ(band(675).count({3, 5, 25, 20}, black), 22 * 15) << "a plain black bar up to x 25";
    pretend_running(6);
    EXPECT_GT(band(675).count({3, 5, 30, 20}, white), 5) << "white text on the bar";
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, height));
    EXPECT_EQ(band(200).count({0, 0, 200, 120}, background), 200 * 120) << "a blank band at width 200";
}

// The band's painted controls as a screen reader finds them: children of the window's client object, with
// their names, whether they can be used now, and where they are.
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
    search_mode = mode_file;
    run_status = status_comparing;
    pause_code = pause_paused;
    EXPECT_EQ(band_names(),
              L"Mode: File (unavailable)|Abort|Resume|Help (unavailable)|Choose (unavailable)|Choose (unavailable)|");
    run_status = status_idle;
    pause_code = pause_running;
}

TEST_F(ResultsList, HundredThousandRowsFromAWorkerCostNoMessageAndReadBackExactly) {
    // The window thread does not pump: a row that needed a message would hold the worker.
    constexpr int rows = 100000;
    HANDLE worker = CreateThread(nullptr, 0, [](void*) -> DWORD {
        write_rows(rows);
        return 0;
    }, nullptr, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(worker, 60000), WAIT_OBJECT_0) << "the worker waited for the window";
    CloseHandle(worker);
    ASSERT_EQ(list_row_count(), rows);
    wchar_t text[cell_text_units];
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < 3; ++column) {
            list_get_cell(row, column, text);
            ASSERT_EQ(text, cell_text(row, column)) << row << "," << column;
            if (row % 10 == 0 || row >= rows - 10) {  // a message each: every tenth row and the last
                ASSERT_EQ(list_cell(row, column), cell_text(row, column)) << "by message " << row << "," << column;
            }
        }
    text[0] = L'x';
    EXPECT_EQ(list_get_cell(rows, 0, text), 0) << "no row past the end";
    EXPECT_EQ(text + list_cell(rows, 0), L"");
}

// Rows deleted from another thread (sent, as before: answered while pumping) or past the end, inserted in
// place; rows that show one text share it, yet changing one cell changes no other.
TEST_F(ResultsList, DeletingInsertingAndSharedTextsFromAnyThread) {
    write_rows(4);
    std::thread([] { list_delete_row(0); }).detach();
    ASSERT_TRUE(pump_until([] { return list_row_count() == 3; }, 10000));
    list_delete_row(7);
    list_insert_row(1, L"inserted");
    EXPECT_EQ(list_cell(0, 0) + L"|" + list_cell(1, 0) + L"|" + list_cell(2, 0) + L"|" + list_cell(3, 2),
              cell_text(1, 0) + L"|inserted|" + cell_text(2, 0) + L"|3");
    list_clear();
    for (int row = 0; row < 3; ++row) list_insert_row(row, L"same");
    list_set_cell(1, 0, L"other");
    EXPECT_EQ(list_cell(0, 0) + list_cell(1, 0) + list_cell(2, 0) + list_cell(2, 1), L"sameothersame");
}

TEST_F(ResultsList, TheRefreshTimerBringsTheCountAndTheScrollUpToDate) {
    run_status = status_comparing;  // as while a search runs
    SetTimer(window, refresh_timer, refresh_timer_ms, nullptr);
    std::thread([] { write_rows(3000); list_show_row(2999); }).join();
    // Nothing but the timer scrolls: the last row comes into view on its own.
    EXPECT_TRUE(pump_until([&] { return SendMessageW(list_view, LVM_GETTOPINDEX, 0, 0) > 2900; }, 5000));
    EXPECT_EQ(SendMessageW(list_view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_ALL), 0) << "row 0 exists";
    run_status = status_idle;
    KillTimer(window, refresh_timer);
}
