// The memory of a long results list: a search through the real window over a folder
// of identical files (every pair a twin row), from the Start click to the closing
// row, and the process's peak memory against the rows listed.
//
// usage: rows_bench FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/startup.h"
#include "bench_support.h"
#include "core/globals.h"
#include "core/state.h"
#include "window_support.h"

using namespace orvkit;
using namespace bench;

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: rows_bench FOLDER\n");
        return 2;
    }
    if (initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL) != 0) return 3;
    HWND window = app_state->main_window;
    keep_list_files_in_temp(*app_state);
    size_window(window);
    search_mode = mode_quick_dir;
    SetWindowTextW(edit_a, argv[1]);
    const uint64_t before = peak_memory_bytes();
    const auto start = clock_type::now();
    click_start(window);
    pump_until_closed();
    const double seconds = seconds_since(start);
    const double rows = static_cast<double>(listed_rows());
    const double peak = static_cast<double>(peak_memory_bytes());
    std::printf("rows_bench  %.0f rows in %.2f s; peak memory %.0f MB in all, %.1f bytes a row beyond the "
                "process before the search; last row: %ls\n",
                rows, seconds, peak / 1e6, (peak - static_cast<double>(before)) / rows,
                cell(static_cast<int>(rows) - 1, 1).c_str());
    DestroyWindow(window);
    return 0;
}
