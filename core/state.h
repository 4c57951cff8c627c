// The one shared state object of the process, made at start-up and owned by
// `app_state` until the process ends. Threads read and write its fields directly.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <atomic>
#include <memory>
#include <string>

#include "base/owner.h"
#include "base/path_parts.h"
#include "core/delete_queue.h"
#include "core/file_list.h"
#include "core/settings_block.h"
#include "core/taskbar.h"

namespace orvkit {

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
    unique_global defset_buffer;         // first 128 bytes of DefSet.txt, in a 1024-byte block
    HWND tooltip = nullptr;              // destroyed with the thread that made it
    unique_icon small_icon;
    unique_icon large_icon;
    unique_gdi<HBITMAP> bitmap_swc;      // mode switch knob
    unique_gdi<HBITMAP> bitmap_swh;      // mode switch knob, hovered
    OPENFILENAMEW open_dialog{};         // reused by every "Choose" click
    std::wstring debug_text;             // what the diagnostics window shows
    unique_gdi<HFONT> small_font;
    unique_gdi<HFONT> large_font;
    unique_gdi<HFONT> path_box_font;     // small_font at the main window's DPI, when not 96
    unique_gdi<HFONT> list_font;         // the list's own font at the window's DPI, when not the system's

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
