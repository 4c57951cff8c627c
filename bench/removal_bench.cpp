// What the removal guard costs a search with automatic removal: the same tree of
// pairs searched through the real window with removal off, then with "Remove
// duplicates when they are found" (Column B, Delete), then the same files deleted
// by a bare loop. The difference per removed file is what removal adds; less the
// bare delete, what the guard's second look on disk adds.
//
// usage: removal_bench [PAIRS [FILE_BYTES]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/startup.h"
#include "bench_support.h"
#include "core/delete_modes.h"
#include "core/globals.h"
#include "core/state.h"
#include "window_support.h"

using namespace orvkit;
using namespace bench;

namespace {

void write_file(const std::wstring& path, const std::vector<char>& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

// `pairs` pairs of equal files, each pair's content its own; returns the second
// file of every pair (what Column B removes).
std::vector<std::wstring> make_pairs(const std::wstring& folder, int pairs, std::size_t bytes) {
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> column_b;
    std::vector<char> content(bytes);
    for (int i = 0; i < pairs; ++i) {
        for (std::size_t at = 0; at < bytes; ++at) content[at] = static_cast<char>((at * 31 + i * 7919) >> 3);
        std::memcpy(content.data(), &i, sizeof(i));
        const std::wstring name = folder + L"\\" + std::to_wstring(i);
        write_file(name + L"a.bin", content);
        write_file(name + L"b.bin", content);
        column_b.push_back(name + L"b.bin");
    }
    return column_b;
}

void remove_tree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE found = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (found != INVALID_HANDLE_VALUE) {
        do DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
        while (FindNextFileW(found, &entry));
        FindClose(found);
    }
    RemoveDirectoryW(folder.c_str());
}

double search_through_window(HWND window, const std::wstring& folder) {
    SetWindowTextW(edit_a, folder.c_str());
    const auto start = clock_type::now();
    click_start(window);
    pump_until_closed();
    return seconds_since(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int pairs = argc > 1 ? _wtoi(argv[1]) : 2000;
    const std::size_t bytes = argc > 2 ? static_cast<std::size_t>(_wtoi(argv[2])) : 16384;
    if (initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL) != 0) return 3;
    HWND window = app_state->main_window;
    keep_list_files_in_temp(*app_state);
    size_window(window);
    search_mode = 2;  // Quick Dir, Hash on, 100 %
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"ostrand-removal-bench";
    remove_tree(folder);

    // Each search twice, interleaved, on a tree made anew, the best kept: the first
    // search of a fresh tree meets a cold cache and a machine that is shared.
    double kept_seconds = 1e9, removing_seconds = 1e9;
    int listed = 0, removed = 0;
    for (int round = 0; round < 2; ++round) {
        remove_tree(folder);
        make_pairs(folder, pairs, bytes);
        remove_when_found = 0;
        kept_seconds = std::min(kept_seconds, search_through_window(window, folder));
        listed = twin_count.load();

        remove_tree(folder);
        make_pairs(folder, pairs, bytes);
        app_state->deletions.options.delete_mode = delete_mode_delete;
        remove_when_found = 1;
        remove_column_b = 1;
        removing_seconds = std::min(removing_seconds, search_through_window(window, folder));
        removed = 0;
        for (int row = 1; row + 1 < listed_rows(); ++row) removed += cell(row, 2) == L"Deleted B";
        remove_when_found = 0;
        remove_column_b = 0;
    }

    remove_tree(folder);
    const std::vector<std::wstring> column_b = make_pairs(folder, pairs, bytes);
    auto start = clock_type::now();
    for (const std::wstring& path : column_b) DeleteFileW(path.c_str());
    const double bare_delete_seconds = seconds_since(start);
    remove_tree(folder);

    const double per_file_ms = removed ? 1000 * (removing_seconds - kept_seconds) / removed : 0;
    const double bare_ms = 1000 * bare_delete_seconds / static_cast<double>(column_b.size());
    std::printf("removal_bench  %d pairs of %zu bytes, Quick Dir, Start to the closing row\n", pairs, bytes);
    std::printf("  search, removal off                      %7.2f s, %d twins listed\n", kept_seconds, listed);
    std::printf("  search, Column B removed (Delete)        %7.2f s, %d files removed\n", removing_seconds, removed);
    std::printf("  removal adds per removed file            %7.3f ms\n", per_file_ms);
    std::printf("  a bare DeleteFileW per file              %7.3f ms\n", bare_ms);
    std::printf("  the guard's second look per removed file %7.3f ms\n", per_file_ms - bare_ms);
    DestroyWindow(window);
    return 0;
}
