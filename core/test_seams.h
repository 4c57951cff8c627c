// Every place a test may put a stand-in for the real thing, in one list. Each is set
// only by tests, before the code that uses it runs; the program leaves the defaults,
// defined beside the code they stand in for.
#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace orvkit {

class ostrand_state;

// How start_worker makes a worker thread (app/worker_start.cpp): to see which worker
// starts, or to simulate a failure.
using worker_thread_maker = HANDLE (*)(LPTHREAD_START_ROUTINE routine, HWND window);
extern worker_thread_maker make_worker_thread;

// How the taskbar wrapper makes its object (core/taskbar.cpp): a recording fake.
using taskbar_list_maker = ITaskbarList3* (*)();
extern taskbar_list_maker make_taskbar_list;

// How "Open Dirs" of the About dialog asks the shell to open a folder
// (about/about_dialog.cpp): a recorder instead of the file manager.
using shell_execute_function = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
extern shell_execute_function about_shell_execute;

// What the menu commands open (app/menu_commands.cpp): the About dialog, the
// diagnostics window, the help page, the Duplicate File Action dialog and the
// shell's folder browser (true and the folder when one was chosen).
struct menu_openers {
    INT_PTR (*about)(HWND owner);
    HWND (*diagnostics)(HWND owner);
    void (*help)(std::shared_ptr<ostrand_state> state);
    int (*details)(HWND window);
    bool (*browse_folder)(HWND owner, std::wstring& folder);
};
extern menu_openers menu_open;

// The File-mode rows listed before the rest are only counted (actions/compare_rows.cpp).
constexpr uint64_t default_difference_row_limit = 100000;
extern std::atomic<uint64_t> difference_row_limit;

// The volume serial read from an open file (core/file_identity.cpp): stands in for a
// network share, whose two names of one server folder report two serials for one file.
extern void (*volume_serial_seam)(HANDLE file, uint32_t& serial);

}  // namespace orvkit
