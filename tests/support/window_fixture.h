// A test fixture holding the program's real main window, created by its own
// start-up with a 700 x 360 client area, and destroyed at the end.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/worker_start.h"
#include "support/fake_worker.h"
#include "support/window_driver.h"

namespace test_support {

class main_window_test : public ::testing::Test {
protected:
    static constexpr int width = 700;
    static constexpr int height = 360;

    void SetUp() override {
        window = open_main_window(width, height);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        orvkit::make_worker_thread = orvkit::create_worker_thread;
        if (run_status != 0 && run_status <= 500) end_fake_run();
        close_main_window(window);
    }

    HWND window = nullptr;
    button_points at{width};
};

}  // namespace test_support
