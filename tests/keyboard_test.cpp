// Keys pressed in the real main window, taken by the program's own message loop: the modes, Help, Tab
// through the band's controls, Space and Enter on them, Choose with Ctrl+O, Start with Enter, Pause and
// Esc during a run, and the results list's row keys.
#include <tuple>

#include "app/keyboard.h"
#include "app/menu_commands.h"
#include "support/dialogs.h"
#include "support/window_driver.h"
#include "ui/menu_build.h"

using namespace test_support;
using namespace orvkit;

namespace {

class Keyboard : public twin_window_test {
protected:
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
};

int opened = 0;

std::wstring clipboard_text(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return L"(no clipboard)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

}  // namespace

TEST_F(Keyboard, ModesHelpStartPauseAndAbortFromTheKeys) {
    const auto openers = menu_open;
    menu_open.help = [](std::shared_ptr<ostrand_state>) { ++opened; };
    press(list_view, VK_F1);
    EXPECT_EQ(opened, 1) << "F1 from the list";
    const struct {
        HWND target;
        WPARAM key;
        bool control;
        uint32_t mode;
    } keys[] = {{window, '2', true, mode_directory}, {window, 'M', true, mode_quick_dir},
                {edit_a, '4', true, mode_qdir_plus}, {window, '1', false, mode_qdir_plus}, {list_view, '1', true, mode_file},
                {window, 'M', true, mode_directory}, {window, '3', true, mode_quick_dir}};
    for (const auto& k : keys) {
        press(k.target, k.key, k.control);
        EXPECT_EQ(search_mode.load(), k.mode) << static_cast<char>(k.key) << (k.control ? " with Ctrl" : "");
    }

    // Tab and Shift+Tab go round the band's usable controls, the path boxes shown with their Choose
    // buttons, and the list, in reading order. (Where the focus lands is asked of the order itself:
    // with other tests' windows about, this one cannot count on being active.)
    using c = band_control;
    const tab_stop a{edit_a}, b{edit_b}, list{list_view}, knob{window, c::mode_switch}, start{window, c::start},
        top{window, c::top}, help{window, c::help}, choose_a{window, c::choose_a}, choose_b{window, c::choose_b};
    for (const auto& [mode, status, from, back, to] :
         {std::tuple{mode_quick_dir, status_idle, knob, false, start}, {mode_quick_dir, status_idle, help, false, a},
          {mode_quick_dir, status_idle, a, false, choose_a}, {mode_quick_dir, status_idle, choose_a, false, list},
          {mode_quick_dir, status_idle, list, false, knob}, {mode_quick_dir, status_idle, knob, true, list},
          {mode_qdir_plus, status_idle, choose_a, false, b}, {mode_qdir_plus, status_idle, b, false, choose_b},
          {mode_qdir_plus, status_idle, list, true, choose_b}, {mode_qdir_plus, status_comparing, top, false, a},
          {mode_qdir_plus, status_comparing, b, false, list}, {mode_qdir_plus, status_comparing, list, false, start}}) {
        press(window, mode == mode_qdir_plus ? '4' : '3', true);
        run_status = status;
        EXPECT_TRUE(next_tab_stop(from, back) == to) << mode << " " << status;
        run_status = status_idle;
    }

    // The focused band control has a dotted frame while the window has the keyboard focus.
    const auto frame_dots = [&](band_control control) {
        const RECT face = band_control_face(control, client_width);
        const capture band = print_client(window, width, 120);
        int dots = 0;
        for (LONG x = face.left - 2; x < face.right + 2; ++x) dots += band.at(x, face.top - 2) == RGB(0, 0, 0);
        return dots;
    };
    move_focus(start);
    SendMessageW(window, WM_SETFOCUS, 0, 0);
    EXPECT_GT(frame_dots(c::start), 20);
    move_focus(help);
    EXPECT_EQ(frame_dots(c::start), 0);
    EXPECT_GT(frame_dots(c::help), 10);
    SendMessageW(window, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(frame_dots(c::help), 0) << "no mark while a child window has the focus";

    // Space and Enter press the focused band control.
    opened = 0;
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
    run_status = status_idle;
    move_focus(a);

    // Ctrl+O picks into the focused path box.
    temp_folder tree;
    const std::wstring picked = tree.make_file(L"picked", "");
    drive_dialog(L"Select", [&] { return press(edit_b, 'O', true), 0; }, [&](dialog_script& s, HWND dialog) {
        SetDlgItemTextW(dialog, 0x47c, picked.c_str());  // the file name box
        test_support::press(dialog, IDOK);
        s.gone(dialog);
    }, 20000);
    EXPECT_EQ(window_text(edit_b), picked);
    press(window, '3', true);

    make_worker_thread = no_worker;  // the run lasts until the test ends it
    SetWindowTextW(edit_a, L"C:\\windows");
    press(edit_a, VK_RETURN);
    EXPECT_EQ(run_status.load(), status_running) << "Enter in the path box starts";
    press(window, VK_PAUSE);
    EXPECT_EQ(pause_code.load(), pause_paused);
    press(edit_a, VK_PAUSE);
    EXPECT_EQ(pause_code.load(), pause_running);
    press(list_view, VK_ESCAPE);
    EXPECT_EQ(run_status.load(), status_abort);
    EXPECT_EQ(pause_code.load(), pause_aborting);
    end_worker_run();
    menu_open = openers;
}

TEST_F(Keyboard, TheListsKeysSelectCopyOpenAndRemoveRows) {
    temp_folder tree;
    for (const wchar_t* name : {L"a", L"b", L"c"}) tree.make_file(name, "three twins");
    search(mode_quick_dir, tree.path());
    const std::vector<list_row> rows = read_list_rows();
    ASSERT_EQ(rows.size(), 5u);
    press(list_view, 'A', true);
    press(list_view, 'C', true);
    std::wstring expected;
    for (const list_row& row : rows) expected += row[0] + L"\t" + row[1] + L"\t" + row[2] + L"\r\n";
    EXPECT_EQ(clipboard_text(window), expected);

    const auto openers = menu_open;
    menu_open.details = [](HWND) { return ++opened; };
    opened = 0;
    focus_row(2);
    press(list_view, VK_RETURN);
    EXPECT_EQ(opened, 1) << "Enter opens the focused row's dialog";
    menu_open = openers;
    // Shift+F10 and the menu key open the menu below the focused row, not at the pointer.
    RECT row{LVIR_BOUNDS};
    SendMessageW(list_view, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(list_view, nullptr, reinterpret_cast<POINT*>(&row), 2);
    for (const WPARAM key : {WPARAM{VK_F10}, WPARAM{VK_APPS}}) {
        // Wine now and then closes a menu opened straight after the last one: press again.
        RECT place{};
        for (int attempt = 0; attempt < 3 && place.bottom == 0; ++attempt) {
            when_menu_shows([&](HWND popup) { GetWindowRect(popup, &place); });
            press(list_view, key, false, VK_SHIFT);
        }
        when_menu_shows(nullptr);
        EXPECT_EQ(place.left, row.left) << key;
        EXPECT_EQ(place.top, row.bottom) << key;
    }
    press(list_view, VK_DELETE);
    EXPECT_EQ(list_row_count(), 4);
    EXPECT_EQ(list_cell(2, 1), rows[3][1]) << "the focused row removed";
    press(edit_a, VK_DELETE);
    EXPECT_EQ(list_row_count(), 4) << "Delete in a path box edits the box";
}

// A letter typed in the menu picks the item it starts: alone, it is chosen; shared, the next one is
// highlighted; a letter no item starts is refused.
TEST_F(Keyboard, LettersInTheMenuPickTheItemsTheyStart) {
    run_status = status_menu_open;  // as a right click while idle: the full menu
    const popup_menu_set menus = build_popup_menu();
    const auto index_of = [&](HMENU menu, const wchar_t* text) {
        for (int index = 0; index < GetMenuItemCount(menu); ++index) {
            wchar_t item[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(index), item, 64, MF_BYPOSITION);
            if (std::wstring(item) == text) return index;
        }
        return -1;
    };
    const auto letter = [&](wchar_t key, HMENU menu) {
        return SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP), reinterpret_cast<LPARAM>(menu));
    };
    EXPECT_EQ(letter(L'e', menus.main), MAKELRESULT(index_of(menus.main, L"Exit"), MNC_EXECUTE));
    EXPECT_EQ(letter(L'S', menus.main), MAKELRESULT(index_of(menus.main, L"Settings"), MNC_EXECUTE));
    EXPECT_EQ(letter(L'r', menus.main), MAKELRESULT(index_of(menus.main, L"Resume Seeking"), MNC_SELECT));
    MENUITEMINFOW lit{sizeof(lit), MIIM_STATE};
    lit.fState = MFS_HILITE;
    SetMenuItemInfoW(menus.main, static_cast<UINT>(index_of(menus.main, L"Resume Seeking")), TRUE, &lit);
    EXPECT_EQ(letter(L'r', menus.main), MAKELRESULT(index_of(menus.main, L"Resume Seeking+"), MNC_SELECT));
    EXPECT_EQ(letter(L'd', menus.batch_delete), MAKELRESULT(index_of(menus.batch_delete, L"Delete"), MNC_EXECUTE));
    EXPECT_EQ(letter(L'q', menus.main), 0);
}

