// Keys pressed in the real main window, taken by the program's own message loop.
#include <atomic>
#include <thread>
#include <tuple>

#include "app/keyboard.h"
#include "app/menu_commands.h"
#include "base/clipboard.h"
#include "support/dialogs.h"

using namespace test_support;

static int opened = 0;

struct Keyboard : twin_window_test {
    void SetUp() override {
        twin_window_test::SetUp();
        menu_open.help = [](std::shared_ptr<ostrand_state>) { ++opened; };
        menu_open.details = [](HWND) { return ++opened; };
    }
    // A key press as the keyboard delivers it to `target`, with Ctrl or Shift (`held`) down.
    void press(HWND target, WPARAM key, bool control = false, BYTE held = 0) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        keys[VK_SHIFT] = held == VK_SHIFT ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(target, key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
        pump_for(50);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    tab_stop on_band(band_control control) const { return {window, control}; }
    // What the clipboard holds, and the list's rows as Ctrl+C copies them.
    std::wstring clipboard_text() {
        std::wstring copied;
        if (HANDLE data = open_clipboard(window) ? GetClipboardData(CF_UNICODETEXT) : nullptr)
            copied = static_cast<const wchar_t*>(GlobalLock(data)), GlobalUnlock(data);
        return CloseClipboard(), copied;
    }
    static std::wstring rows_as_copied() {
        std::wstring text;
        for (const list_row& row : read_list_rows()) text += row[0] + L"\t" + row[1] + L"\t" + row[2] + L"\r\n";
        return text;
    }
    int frame_dots(band_control control) {
        const RECT face = band_control_face(control, client_width);
        const capture shot = band();
        int dots = 0;
        for (LONG x = face.left - 2; x < face.right + 2; ++x) dots += shot.at(x, face.top - 2) == RGB(0, 0, 0);
        return dots;
    }
};

TEST_F(Keyboard, ShortcutsWorkFromEveryControl) {
    press(list_view, VK_F1);
    EXPECT_EQ(opened, 1) << "Help";
    const std::tuple<HWND, WPARAM, bool, uint32_t> keys[] = {  // target, key, with Ctrl, mode
        {window, '2', true, mode_directory}, {window, 'M', true, mode_quick_dir}, {edit_a, '4', true, mode_qdir_plus},
        {window, '1', false, mode_qdir_plus}, {list_view, '1', true, mode_file}, {window, '3', true, mode_quick_dir}};
    for (const auto& [target, key, control, mode] : keys) {
        press(target, key, control);
        EXPECT_EQ(search_mode.load(), mode) << static_cast<char>(key) << (control ? " with Ctrl" : "");
    }
}

// Tab goes round the usable controls (asked of the order itself: with other tests' windows about, this one cannot
// count on being active); the focused one has a dotted frame while the window has the focus; Space and Enter press it.
TEST_F(Keyboard, TheBandIsWorkedFromTheKeyboard) {
    using c = band_control;
    const tab_stop a{edit_a}, b{edit_b}, list{list_view}, knob = on_band(c::mode_switch), start_button = on_band(c::start),
        top = on_band(c::top), help = on_band(c::help), choose_a = on_band(c::choose_a), choose_b = on_band(c::choose_b);
    for (const auto& [mode, status, from, back, to] :
         {std::tuple{mode_quick_dir, status_idle, knob, false, start_button}, {mode_quick_dir, status_idle, help, false, a},
          {mode_quick_dir, status_idle, a, false, choose_a}, {mode_quick_dir, status_idle, choose_a, false, list},
          {mode_quick_dir, status_idle, list, false, knob}, {mode_quick_dir, status_idle, knob, true, list},
          {mode_qdir_plus, status_idle, choose_a, false, b}, {mode_qdir_plus, status_idle, b, false, choose_b},
          {mode_qdir_plus, status_idle, list, true, choose_b}, {mode_qdir_plus, status_comparing, top, false, a},
          {mode_qdir_plus, status_comparing, b, false, list},
          {mode_qdir_plus, status_comparing, list, false, start_button}}) {
        press(window, mode == mode_qdir_plus ? '4' : '3', true);
        run_status = status;
        EXPECT_TRUE(next_tab_stop(from, back) == to) << mode << " " << status;
        run_status = status_idle;
    }
    move_focus(start_button);
    SendMessageW(window, WM_SETFOCUS, 0, 0);
    EXPECT_GT(frame_dots(c::start), 20);
    move_focus(help);
    EXPECT_EQ(frame_dots(c::start), 0);
    EXPECT_GT(frame_dots(c::help), 10);
    SendMessageW(window, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(frame_dots(c::help), 0) << "no mark while a child window has the focus";
    for (const WPARAM key : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
        press(window, '3', true);
        move_focus(knob);
        press(window, key);
        EXPECT_EQ(search_mode.load(), mode_qdir_plus) << key;
        move_focus(help);
        press(window, key);
        EXPECT_EQ(opened, key == VK_SPACE ? 1 : 2);
    }
    run_status = status_comparing;
    move_focus(top);
    press(window, VK_SPACE);
    EXPECT_EQ(pause_code.load(), pause_paused) << "Space on Pause";
    press(window, VK_SPACE);
    EXPECT_EQ(pause_code.load(), pause_running) << "Space on Resume";
}

TEST_F(Keyboard, CtrlOPicksAFileIntoThePathBox) {
    const std::wstring picked = tree.make_file(L"picked", "");
    press(window, '4', true);  // QDir+: path box B shows
    drive_dialog(L"Select", [&] { return press(edit_b, 'O', true), 0; }, [&](dialog_script& s, HWND dialog) {
        SetDlgItemTextW(dialog, 0x47c, picked.c_str());  // the file name box
        s.close(dialog, IDOK);
    }, 20000);
    EXPECT_EQ(window_text(edit_b), picked);
}

TEST_F(Keyboard, TheRunIsWorkedFromTheKeyboard) {
    make_worker_thread = no_worker;
    SetWindowTextW(edit_a, L"C:\\windows");
    for (const auto& [target, key, status, pause] : {std::tuple{edit_a, VK_RETURN, status_running, pause_running},
                                                     {window, VK_PAUSE, status_running, pause_paused},
                                                     {edit_a, VK_PAUSE, status_running, pause_running},
                                                     {list_view, VK_ESCAPE, status_abort, pause_aborting}}) {
        press(target, key);
        EXPECT_EQ(std::pair(run_status.load(), pause_code.load()), std::pair(status, pause)) << key;
    }
}

// The path typed into path box A and Enter pressed there; a click on a row once the search ended; Ctrl+A and Ctrl+C
// go to whichever window the click left the focus in, as the keyboard sends them.
TEST_F(Keyboard, RowsAreCopiedAfterASearchStartedWithEnter) {
    temp_folder tree;
    tree.make_file(L"a\\x.txt", "same"), tree.make_file(L"b\\x.txt", "same");
    press(window, '2', true);
    SetFocus(edit_a);
    for (const wchar_t c : tree.path()) PostMessageW(edit_a, WM_CHAR, c, 1);
    press(edit_a, VK_RETURN);
    ASSERT_TRUE(pump_until(run_closed, 60000));
    RECT row{LVIR_BOUNDS};
    SendMessageW(list_view, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    for (const UINT click : {WM_LBUTTONDOWN, WM_LBUTTONUP}) PostMessageW(list_view, click, 0, MAKELPARAM(20, row.top + 4));
    pump_for(100);
    press(GetFocus(), 'A', true);
    press(GetFocus(), 'C', true);
    EXPECT_EQ(clipboard_text(), rows_as_copied()) << "the focus on the list: " << (GetFocus() == list_view);
}

// Another program holding the clipboard open for a moment, as clipboard viewers do after each change, delays the copy
// but does not lose it.
TEST_F(Keyboard, CtrlCWaitsForTheClipboardThatAnotherProgramHolds) {
    add_row(L"a", L"b", L"100");
    press(list_view, 'A', true);
    std::atomic<bool> held{false};
    std::thread holder([&] { OpenClipboard(nullptr), held = true, Sleep(200), CloseClipboard(); });
    while (!held) Sleep(1);
    press(list_view, 'C', true);
    holder.join();
    EXPECT_EQ(clipboard_text(), rows_as_copied());
}

// Ctrl+A, Ctrl+C copy every row; Enter opens the focused row's dialog, Shift+F10 and the menu key the menu below it
// (not at the pointer); Delete removes it, but edits a path box.
TEST_F(Keyboard, TheResultsListIsWorkedFromTheKeyboard) {
    for (const wchar_t* text : {L"Start", L"a|b", L"a|c", L"b|c", L"Finished"}) add_row(text, text, L"100");
    twin_count = 3;
    focus_row(2);
    press(list_view, 'A', true);
    press(list_view, 'C', true);
    EXPECT_EQ(clipboard_text(), rows_as_copied());
    press(list_view, VK_RETURN);
    EXPECT_EQ(opened, 1);
    RECT row{LVIR_BOUNDS};
    SendMessageW(list_view, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(list_view, nullptr, reinterpret_cast<POINT*>(&row), 2);
    for (const WPARAM key : {WPARAM{VK_F10}, WPARAM{VK_APPS}}) {
        RECT place{};
        show_menu([&] { press(list_view, key, false, VK_SHIFT); }, [&](HWND popup) { GetWindowRect(popup, &place); });
        EXPECT_EQ(place.left, row.left) << key;
        EXPECT_EQ(place.top, row.bottom) << key;
    }
    press(list_view, VK_DELETE);
    EXPECT_EQ(list_row_count(), 4);
    EXPECT_EQ(list_cell(2, 0), L"b|c");
    press(edit_a, VK_DELETE);
    EXPECT_EQ(list_row_count(), 4);
}
