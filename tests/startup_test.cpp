#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/startup.h"
#include "app/state.h"
#include "support/pump.h"
#include "support/temp_folder.h"

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
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, 32);
    if (process != found->process || std::wstring(class_name) != L"Ostrand" || !IsWindowVisible(window)) return TRUE;
    found->window = window;
    return FALSE;
}

}  // namespace

// The real program, started with arguments it must ignore, shows its window and
// exits with 0 when the window is closed.
TEST(Program, ShowsItsWindowIgnoresArgumentsAndExitsWithZero) {
    wchar_t exe[1024] = {};
    GetEnvironmentVariableW(L"OSTRAND_EXE", exe, 1024);
    std::wstring line = L"\"" + test_support::to_windows_path(test_support::to_unix_path(exe)) +
                        L"\" C:\\nothing\\here.txt /q --mode=3";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    found_window found{process.dwProcessId, nullptr};
    ASSERT_TRUE(test_support::pump_until([&] {
        EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&found));
        return found.window != nullptr;
    }));
    wchar_t title[64] = {};
    GetWindowTextW(found.window, title, 64);
    EXPECT_STREQ(title, L"Ostrand 2.0");
    PostMessageW(found.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exit_code = 99;
    GetExitCodeProcess(process.hProcess, &exit_code);
    EXPECT_EQ(exit_code, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(Startup, InitialiseMakesTheStateTheWindowAndARunningEvent) {
    ASSERT_EQ(initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
    ASSERT_TRUE(app_state);
    EXPECT_EQ(about_state, app_state);
    const ostrand_state& state = *app_state;
    EXPECT_TRUE(state.small_font && state.large_font && state.small_icon && state.bitmap_swc && state.bitmap_swh &&
                state.tooltip && edit_a && list_view);
    EXPECT_FALSE(state.deletions.move_dir.empty()) << "the desktop folder is the default move target";
    // First start without a settings file: Quick Dir, 100 %, the three switches on.
    EXPECT_EQ(search_mode.load(), 2u);
    EXPECT_EQ(state.settings.match_percentage, 100u);
    EXPECT_EQ(state.settings.use_hash + state.settings.check_zero_length + state.settings.remove_empty_dirs, 3);
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0) << "a worker started now runs without waiting";
    EXPECT_EQ(WaitForSingleObject(go_event.get(), 0), WAIT_OBJECT_0) << "manual reset: stays signalled";
    DestroyWindow(state.main_window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}
