// Times the File-mode comparison of two files against plainly reading them both.
// Usage: compare_bench <file A> <file B> [rounds]. Prints one line per measure.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "actions/file_compare.h"
#include "compare/pair_compare.h"
#include "base/owner.h"
#include "core/globals.h"
#include "core/state.h"

using namespace orvkit;

namespace {

double seconds_now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

uint64_t file_size(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Reads both files to their end in 1 MiB pieces: the floor any comparison stands on.
void read_both(const std::wstring& a, const std::wstring& b) {
    std::vector<char> buffer(1 << 20);
    for (const std::wstring* path : {&a, &b}) {
        unique_handle file(CreateFileW(path->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD got = 0;
        while (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
        }
    }
}

void report(const char* what, double seconds, uint64_t bytes) {
    std::printf("%-28s %8.3f s  %6.2f GB/s\n", what, seconds, static_cast<double>(bytes) / seconds / 1e9);
}

}  // namespace

int wmain() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3) {
        std::fprintf(stderr, "usage: compare_bench <file A> <file B> [rounds]\n");
        return 2;
    }
    const std::wstring a = argv[1];
    const std::wstring b = argv[2];
    const int rounds = argc > 3 ? _wtoi(argv[3]) : 3;
    app_state = std::make_shared<ostrand_state>();
    go_event.reset(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    const uint64_t bytes = file_size(a) + file_size(b);

    double best_read = 1e9;
    double best_compare = 1e9;
    for (int round = 0; round < rounds; ++round) {
        double start = seconds_now();
        read_both(a, b);
        best_read = std::min(best_read, seconds_now() - start);

        // File mode with no list window: the rows go nowhere, the work is the same.
        search_mode = 0;
        path_a = a;
        path_b = b;
        run_status = orvkit::status_running;
        start = seconds_now();
        compare_files(nullptr);
        best_compare = std::min(best_compare, seconds_now() - start);
    }
    report("read both (ReadFile, 1 MiB)", best_read, bytes);
    report("compare, File mode", best_compare, bytes);

    // A search's result for the same pair, every byte counted, blocks held.
    pair_settings counted;
    counted.match_percentage = 0;
    reserve_compare_buffers();
    double best_search = 1e9;
    uint32_t percent = 0;
    for (int round = 0; round < rounds; ++round) {
        const double start = seconds_now();
        percent = compare_pair_files(a, b, counted).percent;
        best_search = std::min(best_search, seconds_now() - start);
    }
    release_compare_buffers();
    report("compare, search (counted)", best_search, bytes);
    std::printf("%-28s %u%%\n", "percentage in common", percent);
    return 0;
}
