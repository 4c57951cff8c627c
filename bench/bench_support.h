// Small measuring helpers shared by the benchmarks: wall time, the bytes the
// search has read from files, the process's memory, and a bare walker that opens and
// reads every file of a tree once: the floor under any search on Wine.
// (Linux's per-process read counters do not help here: Wine's server opens the
// files, so the search counts the bytes it reads itself.)
#pragma once
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "compare/pair_compare.h"
#include "core/state.h"
#include "search/checksum_pass.h"
#include "search/group_compare.h"

namespace bench {

// Content bytes read so far by the search: checksums, files held for comparing,
// and the streaming comparison.
inline uint64_t bytes_read_so_far() {
    return orvkit::checksum_pass_bytes() + orvkit::group_compare_bytes() + orvkit::compare_bytes_read();
}

using clock_type = std::chrono::steady_clock;

inline double seconds_since(clock_type::time_point start) {
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

// The memory the process has touched (its working set), now and at its peak: Wine
// reports no private usage, and untouched reservations cost nothing.
// The processor time this process has used so far, user and kernel, in seconds.
inline double process_cpu_seconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

inline uint64_t peak_memory_bytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

inline uint64_t memory_bytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

struct walk_totals {
    uint64_t files = 0;
    uint64_t bytes = 0;
};

// Reads an open file from where it stands to its end, a buffer at a time; the bytes read.
inline uint64_t read_to_end(HANDLE file, std::vector<char>& buffer) {
    uint64_t bytes = 0;
    DWORD got = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) bytes += got;
    return bytes;
}

// Opens every file below `folder`, reads it to its end in 1 MiB pieces, closes it.
inline void open_and_read_all(const std::wstring& folder, std::vector<char>& buffer, walk_totals& totals) {
    WIN32_FIND_DATAW entry;
    HANDLE found = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                    FIND_FIRST_EX_LARGE_FETCH);
    if (found == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            open_and_read_all(path, buffer, totals);
            continue;
        }
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        totals.bytes += read_to_end(file, buffer);
        CloseHandle(file);
        ++totals.files;
    } while (FindNextFileW(found, &entry));
    FindClose(found);
}

// The list files a benchmark's searches save go to the temporary folder.
inline void keep_list_files_in_temp(orvkit::ostrand_state& state) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    state.data_path = std::wstring(temp) + L"x";
}

}  // namespace bench
