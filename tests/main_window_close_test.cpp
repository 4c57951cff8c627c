// Closing the main window while idle and while a worker runs.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/state.h"
#include "support/dialog_watchdog.h"
#include "support/fake_worker.h"
#include "support/pump.h"
#include "support/window_fixture.h"

using namespace test_support;

namespace {

using MainWindowClose = main_window_test;

bool quit_posted() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// Dispatches messages until the window's WM_QUIT arrives; false after `timeout_ms`.
bool pump_until_quit(DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (GetTickCount64() < deadline) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return true;
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return false;
}

}  // namespace

TEST_F(MainWindowClose, IdleWindowClosesAtOnceAndEndsTheLoop) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(quit_posted());
}

TEST_F(MainWindowClose, BusyWindowAsksAndCancelLeavesTheRunGoing) {
    run_status = 201;
    expect_dialogs expected;
    dialog_answerer answer(IDCANCEL);
    SendMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(answer.answered());
    EXPECT_NE(answer.text().find(L"Confirm|"), std::wstring::npos) << answer.text().c_str();
    EXPECT_NE(answer.text().find(L"Ostrand is busy; abandon and quit?"), std::wstring::npos);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(run_status.load(), 201);
    EXPECT_EQ(pause_code.load(), 0);
    pump_for(1300);
    EXPECT_TRUE(IsWindow(window)) << "no close is pending";
}

TEST_F(MainWindowClose, BusyWindowAbortsOnOkAndClosesAfterTheWorkerEnds) {
    auto list = orvkit::make_file_list();
    std::atomic_store(&app_state->scan_list, list);
    run_status = 201;
    pause_code = 5;  // paused: the abort must wake the worker
    ResetEvent(go_event);
    {
        expect_dialogs expected;
        dialog_answerer answer(IDOK);
        SendMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(answer.answered());
    }
    EXPECT_TRUE(IsWindow(window)) << "the window waits for the worker";
    EXPECT_EQ(run_status.load(), 2);
    EXPECT_EQ(pause_code.load(), 10);
    EXPECT_EQ(WaitForSingleObject(go_event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(list->status.load(), 10u);

    pump_for(1300);
    EXPECT_TRUE(IsWindow(window)) << "still running after a tick of the close timer";
    end_fake_run();
    EXPECT_TRUE(pump_until_quit(5000)) << "timer 2 closes the window once the worker ended";
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainWindowClose, WorkerEndingWhileTheQuestionIsOpenClosesAtOnce) {
    run_status = 201;
    expect_dialogs expected;
    dialog_answerer answer(IDOK, [](HWND) { end_fake_run(); });
    SendMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(answer.answered());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(run_status.load(), 0) << "no abort of a run that is over";
    EXPECT_EQ(pause_code.load(), 0);
}
