// Measures the search without the window over a real tree, phase by phase as the
// worker runs them (the walk, the checksums of the files of shared sizes, the pair
// scan), with the bytes it read next to the tree's total; and, first, the
// comparison phase alone over records of unique sizes, with the memory of such an index.
//
// usage: search_bench TREE_FOLDER [RECORDS]   (RECORDS 0: skip the unique sizes)
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench_support.h"
#include "core/globals.h"
#include "core/state.h"
#include "search/checksum_pass.h"
#include "search/directory_walk.h"
#include "search/search_worker.h"

using namespace orvkit;
using namespace bench;

namespace {

// Runs the real worker over an already indexed list, as a Resume command does.
double compare_phase(const std::shared_ptr<orvFileList>& list) {
    app_state->loaded_list.store(list);
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
    keep_list_files_in_temp(*app_state);
    search_mode = 2;
    app_state->settings.match_percentage = 100;
    app_state->settings.use_hash = 1;
    app_state->settings.remove_empty_dirs = 0;

    // First, while the process is small: the peak it reaches is this part's own.
    if (records > 0) {
        const uint64_t before_index = memory_bytes();
        auto unique = make_file_list();
        for (long i = 0; i < records; ++i) {
            unique->add_record(L"Z:\\nowhere\\folder\\file" + std::to_wstring(i) + L".dat",
                               {.size = 1000 + static_cast<uint64_t>(i) * 7});
        }
        unique->publish_count();
        const uint64_t index_bytes = memory_bytes() - before_index;
        const double unique_seconds = compare_phase(unique);
        const uint64_t peak = peak_memory_bytes() - before_index;
        std::printf("ostrand  comparison phase, %ld records of unique sizes: %.3f s\n", records, unique_seconds);
        std::printf("ostrand  index of %ld records: %.0f bytes per record (paths of 34 characters); peak during the "
                    "comparison phase %.0f bytes per record\n",
                    records, static_cast<double>(index_bytes) / records, static_cast<double>(peak) / records);
        app_state->loaded_list.store(std::shared_ptr<orvFileList>());
        app_state->scan_list.store(std::shared_ptr<orvFileList>());
    }

    const uint64_t read_before = bytes_read_so_far();
    auto list = make_file_list();
    list->mode = 2;
    auto start = clock_type::now();
    walk_folder(*list, tree, false);
    const double walk_seconds = seconds_since(start);
    start = clock_type::now();
    content_classes classes;
    checksum_shared_sizes(*list, false, classes);
    const double checksum_seconds = seconds_since(start);
    const double files = static_cast<double>(list->records.size());
    const double megabytes = static_cast<double>(list->total_bytes) / 1e6;
    const uint64_t total_bytes = list->total_bytes;
    const double pair_seconds = compare_phase(list);
    const uint64_t read_bytes = bytes_read_so_far() - read_before;
    const double total = walk_seconds + checksum_seconds + pair_seconds;
    std::printf("ostrand  tree: %.0f files, %.0f MB; walk %.2f s, checksums %.2f s, comparison %.2f s, %d twins\n",
                files, megabytes, walk_seconds, checksum_seconds, pair_seconds, twin_count.load());
    std::printf("ostrand  bytes read %.1f MB of %.1f MB in the tree (%.1f %%)\n", static_cast<double>(read_bytes) / 1e6,
                static_cast<double>(total_bytes) / 1e6,
                total_bytes ? 100.0 * static_cast<double>(read_bytes) / static_cast<double>(total_bytes) : 0.0);
    std::printf("ostrand  %.0f files/s, %.0f MB/s (whole search %.2f s)\n", files / total, megabytes / total, total);

    return 0;
}
