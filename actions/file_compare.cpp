#include "actions/file_compare.h"

#include <memory>
#include <string>

#include "actions/compare_rows.h"
#include "compare/compare_math.h"
#include "compare/pair_compare.h"
#include "core/globals.h"
#include "core/run_options.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "ui/results_list.h"
#include "ui/standard_dialogs.h"

namespace orvkit {

namespace {

std::wstring file_mode_verdict(const whole_comparison& result) {
    switch (result.status) {
    case compare_invalid_a: return L"Invalid File A";
    case compare_both_empty: return L"Zero size";
    case compare_invalid_b: return L"Invalid File B";
    default: return verdict_text(result.size_a, result.size_b, result.differing);
    }
}

// Always the whole files: stopping at the first difference is the search's shortcut
// for candidate pairs.
void compare_in_file_mode(const run_options& options) {
    if (reserve_compare_buffers() != 0) {
        show_memory_error();
        return;
    }
    show_path_box_b(mode_file);
    list_clear();
    compare_rows rows;
    difference_listener listener;
    listener.start = [&] { rows.start(); };
    listener.difference = [&](uint64_t position, uint64_t length) { rows.difference(position, length); };
    const whole_comparison result = compare_whole_files(path_a, path_b, options.check_zero_length, listener);
    run_status = result.status;  // the outcome, for the painting until the run ends
    release_compare_buffers();
    rows.finish(pause_code.load() != pause_running ? L"Aborted" : L"End", file_mode_verdict(result));
    show_path_box_b(mode_file);
    end_worker_run();
}

}  // namespace

DWORD WINAPI compare_files(LPVOID) {
    try {
        const std::shared_ptr<ostrand_state> state = app_state;
        run_status = status_running;
        compare_in_file_mode(state ? take_run_options(*state) : run_options{});
    } catch (...) {
        // Out of memory for a row text: end the run cleanly.
        release_compare_buffers();
        end_worker_run();
    }
    return 0;
}

}  // namespace orvkit
