// The run's progress mirrored on the taskbar button, as the painting and the
// refresh timer drive it; a recording stand-in replaces the shell's object.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/state.h"
#include "support/fake_taskbar.h"
#include "support/fake_worker.h"
#include "support/pump.h"
#include "support/temp_folder.h"
#include "support/window_fixture.h"

using namespace test_support;

namespace {

class TaskbarProgress : public main_window_test {
protected:
    void install_fake() { app_state->taskbar.list = &fake; }
    void TearDown() override {
        main_window_test::TearDown();
        // The state outlives the test; it must not release the stand-in.
        app_state->taskbar.list = nullptr;
    }
    void paint() { print_client(window, width, 120); }
    bool value_shown(ULONGLONG percent) const {
        for (const auto& call : fake.calls)
            if (!call.is_state && call.completed == percent) return true;
        return false;
    }
    int clears() const {
        int n = 0;
        for (const auto& call : fake.calls) n += call.is_state && call.state == TBPF_NOPROGRESS;
        return n;
    }
    fake_taskbar fake;
};

}  // namespace

TEST_F(TaskbarProgress, IdlePaintingCreatesNoTaskbarObject) {
    paint();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(app_state->taskbar.list, nullptr);
    EXPECT_EQ(app_state->taskbar.unavailable, 0u);
}

TEST_F(TaskbarProgress, RunningPaintShowsThePercentOnTheWindowsButton) {
    install_fake();
    run_status = 201;
    progress_percent = 37;
    paint();
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_FALSE(fake.calls[0].is_state);
    EXPECT_EQ(fake.calls[0].window, window);
    EXPECT_EQ(fake.calls[0].completed, 37u);
    EXPECT_EQ(fake.calls[0].total, 100u);
}

TEST_F(TaskbarProgress, FinishedRunClearsTheIndicatorOnceAndLeaves100) {
    install_fake();
    end_fake_run();
    paint();
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_TRUE(fake.calls[0].is_state);
    EXPECT_EQ(fake.calls[0].state, TBPF_NOPROGRESS);
    EXPECT_EQ(fake.calls[0].window, window);
    EXPECT_EQ(progress_percent.load(), 100);
    paint();
    EXPECT_EQ(fake.calls.size(), 1u) << "idle paints leave the taskbar alone";
}

TEST_F(TaskbarProgress, WithoutATaskbarTheBandStillFinishes) {
    app_state->taskbar.unavailable = 1;
    end_fake_run();
    paint();
    EXPECT_EQ(progress_percent.load(), 100);
    run_status = 201;
    progress_percent = 50;
    const capture shot = print_client(window, width, 120);
    EXPECT_EQ(shot.at(10, 10), RGB(0, 0, 0)) << "the painted bar does not depend on the taskbar";
    EXPECT_EQ(app_state->taskbar.list, nullptr);
}

TEST_F(TaskbarProgress, RefreshTimerFollowsTheRunThroughPauseToItsEnd) {
    install_fake();
    orvkit::make_worker_thread = record_worker_start;
    temp_folder folder;
    SetWindowTextW(edit_a, folder.path().c_str());
    click_at(window, at.start());
    ASSERT_EQ(run_status.load(), 1);

    progress_percent = 40;
    EXPECT_TRUE(pump_until([&] { return value_shown(40); }, 3000)) << "timer 1 repaints the progress";

    click_at(window, at.top());  // Pause
    ASSERT_EQ(pause_code.load(), 5);
    pump_for(300);
    progress_percent = 60;
    pump_for(600);
    EXPECT_FALSE(value_shown(60)) << "no refresh while paused";

    click_at(window, at.top());  // Resume
    EXPECT_TRUE(pump_until([&] { return value_shown(60); }, 3000));

    end_fake_run();
    EXPECT_TRUE(pump_until([&] { return clears() == 1; }, 3000)) << "the run's end clears the indicator";
    EXPECT_EQ(progress_percent.load(), 100);
}
