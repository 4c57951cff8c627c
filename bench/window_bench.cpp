// The search as a user meets it: the real main window, made by the program's own
// start-up, the folder typed into edit box A, Start pressed with the messages a
// click produces, messages pumped until the closing row is listed. Printed next to
// the same search without the window and a bare walker that opens and reads every
// file once, all in one run over the same (page-cached) tree, each the best of two.
//
// usage: window_bench TREE_FOLDER
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/startup.h"
#include "bench_support.h"
#include "core/globals.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "search/search_worker.h"
#include "ui/results_list.h"
#include "window_support.h"

using namespace orvkit;
using namespace bench;


int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_bench TREE_FOLDER\n");
        return 2;
    }
    const std::wstring tree = argv[1];
    if (initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL) != 0) return 3;
    HWND window = app_state->main_window;
    keep_list_files_in_temp(*app_state);
    size_window(window);
    search_mode = 2;  // Quick Dir, the other settings as a first start leaves them

    // Each measure twice, interleaved, the best kept: the machine is shared and a
    // single pass varies by several seconds.
    std::vector<char> buffer(1 << 20);
    walk_totals floor;
    double floor_seconds = 1e9, windowless_seconds = 1e9, window_seconds = 1e9;
    int windowless_twins = 0, rows = 0;
    uint64_t windowless_read = 0;
    for (int round = 0; round < 2; ++round) {
        // 1. The floor: open and read every file once.
        floor = {};
        auto start = clock_type::now();
        open_and_read_all(tree, buffer, floor);
        floor_seconds = std::min(floor_seconds, seconds_since(start));

        // 2. The same search without the window: the worker on this thread, no list.
        HWND list = list_view;
        list_view = nullptr;
        path_a = tree;
        run_status = status_running;
        const uint64_t read_before = bytes_read_so_far();
        start = clock_type::now();
        search_worker(nullptr);
        windowless_seconds = std::min(windowless_seconds, seconds_since(start));
        windowless_read = bytes_read_so_far() - read_before;
        windowless_twins = twin_count.load();
        list_view = list;
        list_clear();

        // 3. Through the window, from the Start click to the closing row.
        SetWindowTextW(edit_a, tree.c_str());
        start = clock_type::now();
        click_start(window);
        pump_until_closed();
        window_seconds = std::min(window_seconds, seconds_since(start));
        rows = listed_rows();
    }

    std::printf("window_bench  tree: %llu files, %.0f MB\n", static_cast<unsigned long long>(floor.files),
                static_cast<double>(floor.bytes) / 1e6);
    std::printf("  bare walker, open + read every file once   %7.2f s\n", floor_seconds);
    std::printf("  search without the window                  %7.2f s  (%.2fx the walker), %d twins\n",
                windowless_seconds, windowless_seconds / floor_seconds, windowless_twins);
    std::printf("  search through the window, Start to close  %7.2f s  (%.2fx the windowless search), %d twin rows\n",
                window_seconds, window_seconds / windowless_seconds, twin_count.load());
    std::printf("  rows listed %d, last: %ls\n", rows, cell(rows - 1, 0).c_str());
    std::printf("  bytes read: walker %.1f MB, windowless search %.1f MB\n", static_cast<double>(floor.bytes) / 1e6,
                static_cast<double>(windowless_read) / 1e6);
    DestroyWindow(window);
    return 0;
}
