// Measures the search without the window: the walk with checksums and the
// comparison phase over a real tree, and the comparison phase alone over a
// million records of unique sizes.
//
// usage: search_bench TREE_FOLDER [RECORDS]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/globals.h"
#include "app/state.h"
#include "search/directory_walk.h"
#include "search/search_worker.h"

using namespace orvkit;
using clock_type = std::chrono::steady_clock;

namespace {

double seconds_since(clock_type::time_point start) {
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

// Runs the real worker over an already indexed list, as a Resume command does.
double compare_phase(const std::shared_ptr<orvFileList>& list) {
    std::atomic_store(&app_state->loaded_list, list);
    run_status = orvkit::status_running;
    const auto start = clock_type::now();
    search_worker(nullptr);
    return seconds_since(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_bench TREE_FOLDER [RECORDS]\n");
        return 2;
    }
    const std::wstring tree = argv[1];
    const long records = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 1000000;

    app_state = std::make_shared<ostrand_state>();
    go_event.reset(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    app_state->data_path = std::wstring(temp) + L"x";
    search_mode = 2;
    app_state->settings.match_percentage = 100;
    app_state->settings.use_hash = 1;
    app_state->settings.remove_empty_dirs = 0;

    auto list = make_file_list();
    list->mode = 2;
    list->compute_checksums = 1;
    auto start = clock_type::now();
    walk_folder(*list, tree, false);
    const double walk_seconds = seconds_since(start);
    const double files = static_cast<double>(list->records.size());
    const double megabytes = static_cast<double>(list->total_bytes) / 1e6;
    const double pair_seconds = compare_phase(list);
    const double total = walk_seconds + pair_seconds;
    std::printf("ostrand  tree: %.0f files, %.0f MB; walk+checksum %.2f s, comparison %.2f s, %d twins\n", files,
                megabytes, walk_seconds, pair_seconds, twin_count.load());
    std::printf("ostrand  %.0f files/s, %.0f MB/s (whole search %.2f s)\n", files / total, megabytes / total, total);

    auto unique = make_file_list();
    for (long i = 0; i < records; ++i) {
        auto record = std::make_unique<file_record>();
        record->path = L"Z:\\nowhere\\file" + std::to_wstring(i);
        record->size = 1000 + static_cast<uint64_t>(i) * 7;
        unique->append_record(std::move(record));
    }
    unique->publish_count();
    const double unique_seconds = compare_phase(unique);
    std::printf("ostrand  comparison phase, %ld records of unique sizes: %.3f s\n", records, unique_seconds);
    return 0;
}
