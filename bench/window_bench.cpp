// The search as a user meets it: the real main window, made by the program's own
// start-up, the folder typed into edit box A, Start pressed with the messages a
// click produces, messages pumped until the closing row is listed. Measured for a
// first search (no saved index) and for the same search again with nothing changed,
// next to a bare walker that opens and reads every file once, all in one run over
// the same (page-cached) tree, each the best of two; with the phases, the bytes the
// search read beside the bytes of the files that share a size, and the files opened.
//
// usage: window_bench TREE_FOLDER [first]   ("first": the first search alone, once)
//        window_bench TREE_FOLDER after EARLIER_TREE
//        ("after": the first search of TREE_FOLDER right after one of EARLIER_TREE in
//        the same window, its index left as that search saved it; each twice, the best kept)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "app/startup.h"
#include "bench_support.h"
#include "core/globals.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "search/checksum_pass.h"
#include "search/group_compare.h"
#include "search/search_phases.h"
#include "ui/results_list.h"
#include "window_support.h"

using namespace orvkit;
using namespace bench;

namespace {

struct search_figures {
    double seconds = 1e9;
    double walk = 0, reading = 0, pairs = 0;  // the phases: walk, checksum pass, pair scan
    uint64_t bytes = 0, opens = 0, known = 0;
    int rows = 0;
    double phase[static_cast<int>(search_phase::count)] = {};  // as the search worker timed them
    double cpu = 0;  // processor time of the whole process, every thread
};

// One search through the window, from the Start click to the closing row, the
// phases told apart by what the painting shows.
search_figures timed_search(HWND window) {
    search_figures got;
    const uint64_t bytes_before = bytes_read_so_far();
    const uint64_t opens_before = checksum_pass_opens() + group_compare_opens();
    const double cpu_before = process_cpu_seconds();
    const auto start = clock_type::now();
    click_start(window);
    double walk_end = 0, reading_end = 0;
    pump_until_closed([&] {
        const bool comparing = run_status.load() == status_comparing;
        if (walk_end == 0 && (comparing || !checksum_status_line().empty())) walk_end = seconds_since(start);
        if (reading_end == 0 && comparing) reading_end = seconds_since(start);
    });
    got.seconds = seconds_since(start);
    got.cpu = process_cpu_seconds() - cpu_before;
    if (reading_end == 0) reading_end = got.seconds;
    if (walk_end == 0) walk_end = reading_end;
    got.walk = walk_end;
    got.reading = reading_end - walk_end;
    got.pairs = got.seconds - reading_end;
    got.bytes = bytes_read_so_far() - bytes_before;
    got.opens = checksum_pass_opens() + group_compare_opens() - opens_before;
    got.known = checksum_pass_known();
    got.rows = twin_count.load();
    for (int p = 0; p < static_cast<int>(search_phase::count); ++p)
        got.phase[p] = search_phase_seconds(static_cast<search_phase>(p));
    return got;
}

void keep_best(search_figures& best, const search_figures& now) {
    if (now.seconds < best.seconds) best = now;
}

// The files of the last search's index whose size another shares, and their bytes.
std::pair<uint64_t, uint64_t> shared_size_totals() {
    std::map<uint64_t, uint64_t> count_of_size;
    const auto list = app_state->scan_list.load();
    if (!list) return {};
    for (const auto& record : list->records) ++count_of_size[record->size];
    std::pair<uint64_t, uint64_t> totals;
    for (const auto& [size, count] : count_of_size)
        if (count >= 2 && size > 0) {
            totals.first += count;
            totals.second += count * size;
        }
    return totals;
}

void print_search(const char* what, const search_figures& s, double floor_seconds, uint64_t shared_bytes) {
    std::printf("  %-40s %7.3f s", what, s.seconds);
    if (floor_seconds > 0) std::printf("  (%.2fx the walker)", s.seconds / floor_seconds);
    std::printf(": walk %.2f s, reading %.2f s, pairs %.2f s; %d twin rows\n", s.walk, s.reading, s.pairs, s.rows);
    std::printf("      read %.1f MB (%.2fx the files of a shared size), %llu files opened, %llu checksums from the "
                "last index\n",
                static_cast<double>(s.bytes) / 1e6,
                shared_bytes ? static_cast<double>(s.bytes) / static_cast<double>(shared_bytes) : 0.0,
                static_cast<unsigned long long>(s.opens), static_cast<unsigned long long>(s.known));
    const auto at = [&](search_phase p) { return s.phase[static_cast<int>(p)]; };
    std::printf("      phases: blocks %.3f s, walk %.3f s, last list %.3f s, checksums %.3f s (opening %.3f s), "
                "list write %.3f s (%.1f %% of the search), pairs %.3f s (rows %.3f s)\n",
                at(search_phase::blocks), at(search_phase::walk), at(search_phase::last_list),
                at(search_phase::checksums), at(search_phase::opening), at(search_phase::list_write),
                s.seconds > 0 ? 100 * at(search_phase::list_write) / s.seconds : 0.0, at(search_phase::pairs),
                at(search_phase::rows));
}

// The search of `tree` right after one of `earlier` in the same window: what is
// left of the earlier search (its index, its rows) must cost no more than a glance.
int search_after(HWND window, const std::wstring& tree, const std::wstring& earlier, const std::wstring& index) {
    search_figures fresh, then;
    for (int round = 0; round < 2; ++round) {
        DeleteFileW(index.c_str());
        SetWindowTextW(edit_a, tree.c_str());
        keep_best(fresh, timed_search(window));
        DeleteFileW(index.c_str());
        SetWindowTextW(edit_a, earlier.c_str());
        const search_figures before = timed_search(window);
        SetWindowTextW(edit_a, tree.c_str());
        keep_best(then, timed_search(window));
        std::printf("  (round %d: the earlier search %.2f s, %d twin rows)\n", round + 1, before.seconds, before.rows);
    }
    print_search("first search, no index before it", fresh, 0, 0);
    print_search("first search after the earlier one", then, 0, 0);
    DestroyWindow(window);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_bench TREE_FOLDER [first]\n");
        return 2;
    }
    const std::wstring tree = argv[1];
    const bool first_only = argc > 2 && std::wstring(argv[2]) == L"first";
    const bool after = argc > 3 && std::wstring(argv[2]) == L"after";
    if (initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL) != 0) return 3;
    HWND window = app_state->main_window;
    keep_list_files_in_temp(*app_state);
    size_window(window);
    search_mode = mode_quick_dir;  // the other settings as a first start leaves them
    SetWindowTextW(edit_a, tree.c_str());
    const std::wstring index = app_state->data_path.folder + L"LastList.txt";
    if (after) return search_after(window, tree, argv[3], index);

    // Each measure twice, interleaved, the best kept: the machine is shared and a
    // single pass varies by several seconds.
    std::vector<char> buffer(1 << 20);
    walk_totals floor;
    double floor_seconds = first_only ? 0 : 1e9;
    search_figures first, again;
    for (int round = 0; round < (first_only ? 1 : 2); ++round) {
        if (!first_only) {
            floor = {};
            const auto start = clock_type::now();
            open_and_read_all(tree, buffer, floor);
            floor_seconds = std::min(floor_seconds, seconds_since(start));
        }
        DeleteFileW(index.c_str());
        keep_best(first, timed_search(window));
        if (!first_only) keep_best(again, timed_search(window));
    }

    const auto [shared_files, shared_bytes] = shared_size_totals();
    const auto list = app_state->scan_list.load();
    const uint64_t files = list ? list->records.size() : 0;
    std::printf("window_bench  tree: %llu files, %.0f MB; %llu files of a shared size, %.1f MB\n",
                static_cast<unsigned long long>(files), list ? static_cast<double>(list->total_bytes) / 1e6 : 0.0,
                static_cast<unsigned long long>(shared_files), static_cast<double>(shared_bytes) / 1e6);
    if (!first_only) std::printf("  %-40s %7.2f s\n", "bare walker, open + read every file once", floor_seconds);
    print_search("first search, Start to the closing row", first, floor_seconds, shared_bytes);
    if (!first_only) print_search("the same search again, nothing changed", again, floor_seconds, shared_bytes);
    std::printf("  first search: %.1f microseconds a file, %.1f a file of a shared size; peak memory %.0f MB "
                "(%llu bytes); processor time %.1f microseconds a file\n",
                files ? 1e6 * first.seconds / static_cast<double>(files) : 0.0,
                shared_files ? 1e6 * first.seconds / static_cast<double>(shared_files) : 0.0,
                static_cast<double>(peak_memory_bytes()) / 1e6, static_cast<unsigned long long>(peak_memory_bytes()),
                files ? 1e6 * first.cpu / static_cast<double>(files) : 0.0);
    DestroyWindow(window);
    return 0;
}
