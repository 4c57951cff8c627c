#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/startup.h"
#include "app/state.h"

using namespace orvkit;

namespace {

struct found_window {
    DWORD process;
    HWND window;
};

BOOL CALLBACK find_main_window(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<found_window*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (process == found->process && std::wstring(title) == L"Ostrand 2.0") {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring program_file() {
    wchar_t exe[1024] = {};
    GetEnvironmentVariableW(L"OSTRAND_EXE", exe, 1024);
    std::wstring path = exe;
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// Starts the program with `arguments`, waits for its window, closes it and returns
// the exit code; -1 when no window appeared.
long run_and_close(const std::wstring& arguments, std::wstring* class_name) {
    std::wstring line = L"\"" + program_file() + L"\" " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -2;
    found_window found{process.dwProcessId, nullptr};
    // The window exists from inside CreateWindowExW on; it is shown a moment later.
    for (int i = 0; i < 300 && !(found.window && IsWindowVisible(found.window)); ++i) {
        Sleep(50);
        EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&found));
    }
    long code = -1;
    if (found.window) {
        wchar_t name[100] = {};
        GetClassNameW(found.window, name, 100);
        *class_name = name;
        EXPECT_TRUE(IsWindowVisible(found.window));
        PostMessageW(found.window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
        DWORD exit_code = 99;
        GetExitCodeProcess(process.hProcess, &exit_code);
        code = static_cast<long>(exit_code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

void pump_until_quit() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

}  // namespace

TEST(Program, ShowsItsWindowAndExitsWithZero) {
    std::wstring class_name;
    EXPECT_EQ(run_and_close(L"", &class_name), 0);
    EXPECT_EQ(class_name, L"Ostrand");
}

TEST(Program, CommandLineArgumentsChangeNothing) {
    std::wstring class_name;
    EXPECT_EQ(run_and_close(L"C:\\nothing\\here.txt /q --mode=3 \"two words\"", &class_name), 0);
    EXPECT_EQ(class_name, L"Ostrand");
}

TEST(Startup, InitialiseMakesTheStateTheWindowAndARunningEvent) {
    ASSERT_EQ(initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
    ASSERT_TRUE(app_state);
    EXPECT_EQ(about_state, app_state);
    ostrand_state& state = *app_state;
    EXPECT_EQ(state.exe_name, L"Ostrand.exe");
    EXPECT_EQ(state.app_name, L"Ostrand");
    EXPECT_NE(state.small_font, nullptr);
    EXPECT_NE(state.large_font, nullptr);
    EXPECT_NE(state.small_icon, nullptr);
    EXPECT_NE(state.large_icon, nullptr);
    EXPECT_NE(state.bitmap_swc, nullptr);
    EXPECT_NE(state.bitmap_swh, nullptr);
    EXPECT_NE(state.tooltip, nullptr);
    EXPECT_NE(state.defset_buffer, nullptr);
    EXPECT_EQ(state.open_dialog.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_FALSE(state.deletions.move_dir.empty()) << "the desktop folder is the default move target";
    EXPECT_EQ(state.program_path.name, L"ostrand_tests.exe");
    EXPECT_EQ(state.data_path.folder.back(), L'\\');

    // First start without a settings file: Quick Dir, 100 %, the three switches on.
    EXPECT_EQ(search_mode.load(), 2u);
    EXPECT_EQ(state.settings.match_percentage, 100u);
    EXPECT_EQ(state.settings.use_hash, 1);
    EXPECT_EQ(state.settings.check_zero_length, 1);
    EXPECT_EQ(state.settings.remove_empty_dirs, 1);
    EXPECT_EQ(state.settings.block_size, 2424u);

    HWND window = state.main_window;
    ASSERT_NE(window, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Ostrand 2.0");
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_NE(edit_a, nullptr);
    EXPECT_NE(edit_b, nullptr);
    EXPECT_NE(list_view, nullptr);
    EXPECT_GE(path_a.capacity(), 1200u);

    EXPECT_EQ(WaitForSingleObject(go_event, 0), WAIT_OBJECT_0) << "a worker started now runs without waiting";
    EXPECT_EQ(WaitForSingleObject(go_event, 0), WAIT_OBJECT_0) << "manual reset: stays signalled";

    // The list fills the client area below the 120-pixel band.
    RECT client, list;
    GetClientRect(window, &client);
    SendMessageW(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    GetWindowRect(list_view, &list);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.top, 120);
    EXPECT_EQ(list.right - list.left, client.right - 2);

    DestroyWindow(window);
    pump_until_quit();
}

TEST(Startup, PathPartsSplitAtTheLastBackslash) {
    path_parts parts;
    parts = L"C:\\Program Files\\Ostrand\\Ostrand.exe";
    EXPECT_EQ(parts.folder, L"C:\\Program Files\\Ostrand\\");
    EXPECT_EQ(parts.name, L"Ostrand.exe");
    EXPECT_EQ(parts.root, L"C:\\");
    parts = L"abc";  // too short to split: only the whole path changes
    EXPECT_EQ(parts.full, L"abc");
    EXPECT_EQ(parts.folder, L"C:\\Program Files\\Ostrand\\");
    parts = L"nobackslash";
    EXPECT_EQ(parts.name, L"Ostrand.exe");
    EXPECT_EQ(parts.root, L"nob");
}
