// The real diagnostics window: a new one per call, "Ready..." until its own timer fires, then what the
// state's debug_text holds at that moment.
#include "about/diagnostics_window.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"

using namespace test_support;

namespace {

std::wstring text_of(HWND window) { return window_text(GetDlgItem(window, IDC_DIAGNOSTICS_TEXT)); }

constexpr DWORD wait_ms = orvkit::diagnostics_timer_ms + 2000;

class DiagnosticsWindow : public main_window_test {
protected:
    expect_dialogs expecting;  // the windows are visible dialogs of this process
};

}  // namespace

// Two windows a second apart, each changing when its own timer fires: to nothing, as nothing fills
// debug_text in the program, or to what the state was given since. Enter in the text box hides a window.
TEST_F(DiagnosticsWindow, ReadyThenTheDiagnosticsTextANewWindowPerCall) {
    ASSERT_TRUE(about_state->debug_text.empty()) << "nothing fills it";
    HWND first = orvkit::show_diagnostics_window(window);
    pump_for(1000);
    EXPECT_EQ(text_of(first), L"Ready...") << "a second on, its timer has not fired";
    HWND second = orvkit::show_diagnostics_window(window);
    ASSERT_TRUE(first && second && first != second);
    EXPECT_EQ(GetWindow(first, GW_OWNER), window);
    EXPECT_TRUE(IsWindowVisible(first) && IsWindowVisible(second));
    EXPECT_EQ(text_of(second), L"Ready...");

    ASSERT_TRUE(pump_until([&] { return text_of(first) != L"Ready..."; }, wait_ms));
    EXPECT_EQ(text_of(first) + L"|" + text_of(second), L"|Ready...") << "each timer is its own";
    about_state->debug_text = L"3 folders walked\r\n12 files compared";
    ASSERT_TRUE(pump_until([&] { return text_of(second) != L"Ready..."; }, wait_ms));
    EXPECT_EQ(text_of(second), about_state->debug_text);
    EXPECT_EQ(text_of(first), L"") << "read again only at its next tick";

    PostMessageW(GetDlgItem(first, IDC_DIAGNOSTICS_TEXT), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(pump_until([&] { return !IsWindowVisible(first); }, 2000));
    EXPECT_TRUE(IsWindow(first)) << "hidden, not destroyed";
}
