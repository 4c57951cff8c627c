// The real search worker on its own thread, the real main window and list, and a
// data folder of the test's own so parallel tests never share list files.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/run_control.h"
#include "app/startup.h"
#include "core/globals.h"
#include "core/state.h"
#include "search/search_worker.h"
#include "support/window_driver.h"
#include "support/temp_folder.h"

namespace test_support {

class search_worker_test : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(orvkit::initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
        app_state->data_path = data_.path() + L"\\x";
        settings().match_percentage = 100;
        settings().remove_empty_dirs = 0;
        settings().use_hash = 1;
        settings().check_zero_length = 1;
    }
    void TearDown() override { DestroyWindow(app_state->main_window); }

    static orvkit::settings_block& settings() { return app_state->settings; }
    // As start_worker does, with the paths and mode already set.
    static void start_search() {
        run_status = orvkit::status_running;
        progress_percent = 0;
        twin_count = 0;
        CloseHandle(CreateThread(nullptr, 64 << 20, orvkit::search_worker, app_state->main_window,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    }
    static void start_search(uint32_t mode, const std::wstring& folder) {
        search_mode = mode;
        path_a = folder;
        start_search();
    }
    static bool finished(DWORD timeout_ms = 60000) {
        // A run started by start_worker has its band painted, which shows 101 as 100.
        return pump_until([] { return run_status.load() == orvkit::status_idle && progress_percent.load() >= 100; },
                          timeout_ms);
    }
    void search(uint32_t mode, const std::wstring& a, const std::wstring& b = L"") {
        search_mode = mode;
        path_a = a;
        path_b = b;
        start_search();
        ASSERT_TRUE(finished());
    }
    static std::vector<list_row> list_rows() { return read_list_rows(); }
    std::wstring data(const wchar_t* name) const { return data_ / name; }

    temp_folder data_;
    temp_folder tree_;
};

}  // namespace test_support
