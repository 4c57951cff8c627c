#include "support/search_harness.h"

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/startup.h"
#include "app/state.h"
#include "search/search_worker.h"
#include "support/pump.h"
#include "ui/results_list.h"

namespace test_support {

void start_program(const std::wstring& data_folder) {
    ASSERT_EQ(orvkit::initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
    app_state->data_path = data_folder + L"\\x";
    ASSERT_EQ(app_state->data_path.folder, data_folder + L"\\");
}

void start_search() {
    run_status = 1;
    progress_percent = 0;
    twin_count = 0;
    HANDLE thread = CreateThread(nullptr, 64 << 20, orvkit::search_worker, app_state->main_window,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    ASSERT_NE(thread, nullptr);
    CloseHandle(thread);
}

bool run_search(DWORD timeout_ms) {
    start_search();
    return pump_until([] { return run_status.load() == 0 && progress_percent.load() == 101; }, timeout_ms);
}

void request_abort() {
    SetEvent(go_event);
    int32_t running = run_status.load();
    while (running != 0 && !run_status.compare_exchange_weak(running, 2)) {
    }
    pause_code = 10;
    if (auto list = std::atomic_load(&app_state->scan_list)) list->status = 10;
}

std::vector<list_row> list_rows() {
    std::vector<list_row> rows;
    const int count = static_cast<int>(SendMessageW(list_view, LVM_GETITEMCOUNT, 0, 0));
    wchar_t buffer[orvkit::cell_text_units];
    for (int row = 0; row < count; ++row) {
        list_row cells;
        for (int column = 0; column < 3; ++column) {
            orvkit::list_get_cell(row, column, buffer);
            cells[column] = buffer;
        }
        rows.push_back(cells);
    }
    return rows;
}

}  // namespace test_support
