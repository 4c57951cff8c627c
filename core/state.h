// The one shared state object of the process, made at start-up and owned by
// `app_state` until the process ends. Beside each field: which thread writes it
// ("start-up" is the window thread before the first worker) and which read it.
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

    // Written at start-up, read by every thread.
    HINSTANCE instance = nullptr;
    std::wstring exe_name;               // "Ostrand.exe"
    std::wstring app_name;               // "Ostrand"
    path_parts program_path;
    path_parts data_path;                // its folder ends with a backslash
    unique_global defset_buffer;         // first 128 bytes of DefSet.txt, in a 1024-byte block
    unique_icon small_icon;
    unique_icon large_icon;
    unique_gdi<HBITMAP> bitmap_swc;      // mode switch knob
    unique_gdi<HBITMAP> bitmap_swh;      // mode switch knob, hovered
    unique_gdi<HFONT> small_font;
    unique_gdi<HFONT> large_font;
    HWND main_window = nullptr;

    // The window thread's alone (workers reach the window only by SendMessageW).
    HWND tooltip = nullptr;              // destroyed with the thread that made it
    OPENFILENAMEW open_dialog{};         // reused by every "Choose" click
    std::wstring debug_text;             // what the diagnostics window shows
    unique_gdi<HFONT> path_box_font;     // small_font at the main window's DPI, when not 96
    unique_gdi<HFONT> list_font;         // the list's own font at the window's DPI, when not the system's

    // Replaced by one thread while another may read it.
    std::atomic<std::shared_ptr<orvFileList>> scan_list;   // the worker stores it; the painting reads it
    std::atomic<std::shared_ptr<orvFileList>> loaded_list; // the window stores it (Resume); the worker adopts it

    TaskBar taskbar;                     // its own lock; the painting drives it
    DeleteQueue deletions;               // options: the window thread while no worker runs;
                                         // requests and flushes: under its own lock
    settings_block settings;             // the window thread; workers take a copy at their start
    std::wstring protected_folder;       // the last search's, empty when none: that search writes it
                                         // at its start; the column delete reads it while idle
    std::atomic<uint8_t> stop_at_first_difference{0};  // the search worker sets it for its run
};

}  // namespace orvkit
