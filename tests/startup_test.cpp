#include <gtest/gtest.h>
#include <windows.h>

#include "app/startup.h"
#include "core/globals.h"
#include "core/state.h"
#include "support/program_run.h"
#include "support/pump.h"
#include "support/temp_folder.h"

using namespace orvkit;

// The real program, started with arguments it must ignore, shows its window and
// exits with 0 when the window is closed.
TEST(Program, ShowsItsWindowIgnoresArgumentsAndExitsWithZero) {
    const std::wstring exe = test_support::built_program();
    ASSERT_FALSE(exe.empty()) << "run through CTest";
    test_support::program_run program;
    ASSERT_TRUE(program.start(L"\"" + exe + L"\" C:\\nothing\\here.txt /q --mode=3"));
    wchar_t title[64] = {};
    GetWindowTextW(program.window(), title, 64);
    EXPECT_STREQ(title, L"Ostrand 2.0");
    EXPECT_EQ(program.close(), 0u);
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
