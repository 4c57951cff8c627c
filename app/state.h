// The one shared state object of the process, made at start-up and owned by
// `app_state` until the process ends. Threads read and write its fields directly.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <atomic>
#include <memory>
#include <string>

#include "actions/delete_queue.h"
#include "app/settings_block.h"
#include "app/taskbar.h"
#include "search/file_list.h"

namespace orvkit {

// One path split into its whole, its folder (up to and including the last
// backslash), its name (after the last backslash) and its root ("C:\").
struct path_parts {
    std::wstring full;
    std::wstring folder;
    std::wstring name;
    std::wstring root;

    path_parts& operator=(const std::wstring& path);
};

class ostrand_state {
public:
    ostrand_state();
    ostrand_state(const ostrand_state&) = delete;
    ostrand_state& operator=(const ostrand_state&) = delete;
    ~ostrand_state();

    HINSTANCE instance = nullptr;
    std::wstring exe_name;               // "Ostrand.exe"
    std::wstring app_name;               // "Ostrand"
    path_parts program_path;
    path_parts data_path;                // its folder ends with a backslash
    void* defset_buffer = nullptr;       // first 128 bytes of DefSet.txt, in a 1024-byte block
    HWND tooltip = nullptr;
    HICON small_icon = nullptr;
    HICON large_icon = nullptr;
    HBITMAP bitmap_swc = nullptr;        // mode switch knob
    HBITMAP bitmap_swh = nullptr;        // mode switch knob, hovered
    OPENFILENAMEW open_dialog{};         // reused by every "Choose" click
    std::wstring debug_text;
    HFONT small_font = nullptr;
    HFONT large_font = nullptr;

    // Replaced by the search worker while the window may read it: always load and
    // store these with std::atomic_load / std::atomic_store.
    std::shared_ptr<orvFileList> scan_list;
    std::shared_ptr<orvFileList> loaded_list;

    TaskBar taskbar;
    DeleteQueue deletions;
    settings_block settings;
    std::atomic<uint8_t> stop_at_first_difference{0};
    std::atomic<uint32_t> compare_result{0};
    HWND main_window = nullptr;
};

}  // namespace orvkit
