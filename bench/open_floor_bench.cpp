// What Wine alone needs to open, read and close a list of files, four at a time as
// the search's readers do, with nothing else of the program: no index, no
// comparison, no window. The search cannot read the same files faster on Wine, so
// its time per file beside this one shows what the program adds, and this time at
// two tree sizes shows what the trees themselves cost (Wine's server resolves every
// opened path folder by folder, alone, for all threads).
//
// usage: open_floor_bench LIST   (one path a line, UTF-8, as bench/disk_floor.py writes it)
// prints: wine floor: N files, S s, U microseconds a file
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/file_reading.h"
#include "bench_support.h"

using namespace bench;

namespace {

constexpr int readers = 4;

std::vector<std::wstring> read_list(const wchar_t* list_path) {
    std::vector<std::wstring> paths;
    std::ifstream list(list_path);
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const int units = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring path(static_cast<std::size_t>(units), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), path.data(), units);
        paths.push_back(std::move(path));
    }
    return paths;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: open_floor_bench LIST\n");
        return 2;
    }
    const std::vector<std::wstring> paths = read_list(argv[1]);
    if (paths.empty()) {
        std::fprintf(stderr, "open_floor_bench: no paths in the list\n");
        return 1;
    }
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> failed{0};
    const auto start = clock_type::now();
    std::vector<std::thread> pool;
    for (int t = 0; t < readers; ++t)
        pool.emplace_back([&] {
            std::vector<char> buffer(1 << 20);
            for (std::size_t i = next++; i < paths.size(); i = next++) {
                orvkit::unique_handle file = orvkit::open_for_reading(paths[i], FILE_FLAG_SEQUENTIAL_SCAN);
                if (!file) {
                    ++failed;
                    continue;
                }
                read_to_end(file.get(), buffer);
            }
        });
    for (auto& thread : pool) thread.join();
    const double seconds = seconds_since(start);
    std::printf("wine floor: %zu files, %.1f s, %.1f microseconds a file", paths.size(), seconds,
                1e6 * seconds / static_cast<double>(paths.size()));
    if (failed > 0) std::printf(" (%zu could not be opened)", failed.load());
    std::printf("\n");
    return failed == paths.size() ? 1 : 0;
}
