// The real diagnostics window: a new one per call, "Ready..." until its own timer
// fires, then what the state's debug_text holds at that moment.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "about/diagnostics_window.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"

using namespace test_support;

namespace {

std::wstring text_of(HWND window) { return window_text(GetDlgItem(window, IDC_DIAGNOSTICS_TEXT)); }

// Timers may fire a tick early; a change sooner than this is not the 10 s timer.
constexpr ULONGLONG earliest_ms = orvkit::diagnostics_timer_ms - 50;
constexpr ULONGLONG latest_ms = orvkit::diagnostics_timer_ms + 2000;

class DiagnosticsWindow : public main_window_test {
protected:
    expect_dialogs expecting;  // the windows are visible dialogs of this process
};

}  // namespace

// Two calls, two windows owned by the main window, a second apart: each changes from
// "Ready..." when its own timer fires ten seconds after it opened, to what debug_text
// holds then: nothing (as in the program, where nothing fills it), or what the state
// was given since. Enter in the text box puts a window away; the window itself stays.
TEST_F(DiagnosticsWindow, ReadyThenTheDiagnosticsTextANewWindowPerCall) {
    ASSERT_TRUE(about_state->debug_text.empty()) << "nothing fills it";
    const ULONGLONG first_opened = GetTickCount64();
    HWND first = orvkit::show_diagnostics_window(window);
    pump_for(1000);
    const ULONGLONG second_opened = GetTickCount64();
    HWND second = orvkit::show_diagnostics_window(window);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_EQ(GetWindow(first, GW_OWNER), window);
    EXPECT_TRUE(IsWindowVisible(first) && IsWindowVisible(second));
    EXPECT_EQ(text_of(second), L"Ready...");

    ASSERT_TRUE(pump_until([&] { return text_of(first) != L"Ready..."; }, latest_ms));
    const ULONGLONG first_changed = GetTickCount64() - first_opened;
    EXPECT_GE(first_changed, earliest_ms);
    EXPECT_EQ(text_of(first), L"");
    EXPECT_EQ(text_of(second), L"Ready...") << "its timer is its own";

    about_state->debug_text = L"3 folders walked\r\n12 files compared";
    ASSERT_TRUE(pump_until([&] { return text_of(second) != L"Ready..."; }, latest_ms));
    const ULONGLONG second_changed = GetTickCount64() - second_opened;
    EXPECT_GE(second_changed, earliest_ms);
    EXPECT_LE(second_changed, latest_ms);
    EXPECT_EQ(text_of(second), about_state->debug_text);
    EXPECT_EQ(text_of(first), L"") << "read again only at its next tick";
    std::printf("text changed after %llu ms and %llu ms\n", first_changed, second_changed);

    PostMessageW(GetDlgItem(first, IDC_DIAGNOSTICS_TEXT), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(pump_until([&] { return !IsWindowVisible(first); }, 2000));
    EXPECT_TRUE(IsWindow(first));
}
