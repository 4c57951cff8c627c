// The real About dialog, opened by the main window's About button and by its
// opener, driven from a timer that fires inside the dialog's own loop.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "about/about_dialog.h"
#include "app/dialog_openers.h"
#include "resources/resource_ids.h"
#include "support/dialog_watchdog.h"
#include "support/window_driver.h"
#include "ui/data_folder.h"

using namespace test_support;

namespace {

// What "Open Dirs" asked of the shell, instead of starting the file manager.
struct shell_call {
    HWND owner;
    bool verb, parameters, directory;
    std::wstring file;
    INT show;
};
std::vector<shell_call> shell_calls;

HINSTANCE WINAPI record_shell_call(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                   INT show) {
    shell_calls.push_back({owner, verb != nullptr, parameters != nullptr, directory != nullptr, file ? file : L"", show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // what the shell returns on success
}

HWND find_about_box() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND box, LPARAM found) -> BOOL {
        wchar_t kind[8] = {};
        if (!GetClassNameW(box, kind, 8) || std::wstring(kind) != L"#32770" || !IsWindowVisible(box)) return TRUE;
        return *reinterpret_cast<HWND*>(found) = box, FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs `open` while a thread timer, firing inside the dialog's own loop, finds the
// dialog and hands it to `drive`, which ends by closing it. A dialog still open 10 s
// after it was found is ended with -7, so a fault fails the test instead of hanging it.
std::function<void(HWND)> driver;
HWND driven;
INT_PTR drive_modal(const std::function<INT_PTR()>& open, std::function<void(HWND)> drive) {
    expect_dialogs expecting;
    driver = std::move(drive);
    driven = nullptr;
    static UINT_PTR safety = 0;
    const UINT_PTR finder = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR timer, DWORD) {
        if (!(driven = find_about_box())) return;
        KillTimer(nullptr, timer);
        safety = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            ADD_FAILURE() << "the dialog did not close";
            EndDialog(driven, -7);
        });
        driver(driven);
    });
    const INT_PTR result = open();
    KillTimer(nullptr, finder);
    KillTimer(nullptr, safety);
    EXPECT_NE(driven, nullptr) << "no dialog appeared";
    EXPECT_FALSE(IsWindow(driven)) << "the dialog is gone once its opener returns";
    return result;
}

std::wstring text_of(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    return text.substr(0, GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
}

std::wstring class_of(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

// A control's place in the dialog's client area, in pixels.
RECT place_of(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Place and size are mapped one by one, as the dialog manager maps a template's.
RECT dialog_units(HWND dialog, int x, int y, int width, int height) {
    RECT r{x, y, width, height};
    MapDialogRect(dialog, &r);
    return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

::testing::AssertionResult same_place(const RECT& a, const RECT& b) {
    if (EqualRect(&a, &b)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a.left << "," << a.top << "," << a.right << "," << a.bottom << " vs "
                                         << b.left << "," << b.top << "," << b.right << "," << b.bottom;
}

std::wstring prog_dirs_text(const std::wstring& program, const std::wstring& data) {
    return L"Location of program:\r\n" + program + L" \r\n\r\nWhere program stores user data:\r\n" + data;
}

// The tooltip the shared tooltip window holds for `control`, "" when none.
std::string tip_of(HWND control) {
    char text[80] = {};
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageA(app_state->tooltip, TTM_GETTEXTA, 80, reinterpret_cast<LPARAM>(&tool));
    return text;
}

int tool_count() { return static_cast<int>(SendMessageW(app_state->tooltip, TTM_GETTOOLCOUNT, 0, 0)); }

// The user picks the next (VK_DOWN) or previous (VK_UP) page with the keyboard.
void pick_page(HWND dialog, WPARAM key) { SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, WM_KEYDOWN, key, 0); }

void press(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

// A key on the focused control, through the dialog's own loop.
void key(WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); }

class AboutDialog : public main_window_test {
protected:
    void SetUp() override {
        main_window_test::SetUp();
        orvkit::about_shell_execute = record_shell_call;
        shell_calls.clear();
    }
};

}  // namespace

// The About button of the idle window opens the dialog as its template gives it, on
// the "Prog Dirs" page: portable, the program's file and its folder as the data folder.
TEST_F(AboutDialog, TheAboutButtonOpensItOnTheProgDirsPage) {
    std::wstring program(2048, L'\0');
    program.resize(GetModuleFileNameW(nullptr, program.data(), 2048));
    const std::wstring folder = program.substr(0, program.rfind(L'\\') + 1);
    drive_modal([&] { return click_at(top), INT_PTR{0}; }, [&](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
        EXPECT_EQ(window_text(dialog), L"About Ostrand");
        const LONG style = GetWindowLongW(dialog, GWL_STYLE);
        EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
        EXPECT_EQ(style & WS_SYSMENU, 0) << "no close box";
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_TRUE(same_place(client, dialog_units(dialog, 0, 0, 200, 226)));

        EXPECT_EQ(text_of(dialog, IDOK), L"Close");
        EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
        EXPECT_TRUE(same_place(place_of(GetDlgItem(dialog, IDOK)), dialog_units(dialog, 146, 208, 50, 14)));
        HWND open_dirs = GetDlgItem(dialog, IDC_ABOUT_OPEN_DIRS);
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_OPEN_DIRS), L"Open Dirs");
        EXPECT_TRUE(same_place(place_of(open_dirs), dialog_units(dialog, 93, 208, 50, 14)));
        EXPECT_EQ(tip_of(open_dirs), "Open Dirs");

        HWND pages = GetDlgItem(dialog, IDC_ABOUT_PAGES);
        EXPECT_EQ(class_of(pages), L"ComboBox");
        EXPECT_EQ(GetWindowLongW(pages, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        const RECT combo = place_of(pages), combo_units = dialog_units(dialog, 5, 208, 85, 14);
        EXPECT_EQ(combo.left, combo_units.left);
        EXPECT_EQ(combo.top, combo_units.top);
        EXPECT_EQ(combo.right, combo_units.right);
        std::vector<std::wstring> names;
        wchar_t name[64];
        for (int i = 0; i < SendMessageW(pages, CB_GETCOUNT, 0, 0); ++i)
            names.push_back(SendMessageW(pages, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name)) > 0 ? name : L"?");
        EXPECT_EQ(names, (std::vector<std::wstring>{L"Prog Dirs", L"Diagnostics"}));
        EXPECT_EQ(SendMessageW(pages, CB_GETCURSEL, 0, 0), 0);

        HWND text = GetDlgItem(dialog, IDC_ABOUT_TEXT);
        EXPECT_EQ(class_of(text), L"Edit");
        const LONG text_style = GetWindowLongW(text, GWL_STYLE);
        EXPECT_EQ(text_style & (ES_MULTILINE | ES_READONLY | WS_VSCROLL), ES_MULTILINE | ES_READONLY | WS_VSCROLL);
        EXPECT_TRUE(same_place(place_of(text), RECT{5, 190, 5 + 290, 190 + 140})) << "moved, in pixels";
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_TEXT), prog_dirs_text(program, folder));

        // The statics without an id: the two icons and the two lines of the name.
        std::vector<std::wstring> lines;
        std::vector<RECT> icons;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (class_of(child) != L"Static") continue;
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                EXPECT_NE(SendMessageW(child, STM_GETICON, 0, 0), 0) << "the icon resource is loaded";
                icons.push_back(place_of(child));
            } else {
                lines.push_back(window_text(child));
                EXPECT_TRUE(same_place(place_of(child), dialog_units(dialog, 40, lines.size() == 1 ? 5 : 18, 155, 8)));
            }
        }
        EXPECT_EQ(lines, (std::vector<std::wstring>{L"Ostrand 2.0", L"File Comparer and Duplicate Finder"}));
        ASSERT_EQ(icons.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            const RECT corner = dialog_units(dialog, 5, i ? 40 : 5, 0, 0);
            EXPECT_EQ(icons[i].left, corner.left);
            EXPECT_EQ(icons[i].top, corner.top);
        }
        RECT frame;
        GetClientRect(dialog, &frame);
        const capture shot = print_client(dialog, frame.right, frame.bottom, true);
        EXPECT_EQ(save_png(L"about_dialog.png", shot), std::getenv("OSTRAND_TEST_OUTPUT") != nullptr);
        press(dialog, IDOK);
    });
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(shell_calls.empty());
}

// With "DefSet.txt" beside the program the page names the per-user folder, and
// "Open Dirs" asks the shell to open the program's folder, then that one. The
// "Diagnostics" page holds its placeholder and its "Open Dirs" does nothing. The
// button's one tooltip is kept across page changes and dropped when the dialog closes.
TEST_F(AboutDialog, PagesAndOpenDirsWithThePerUserDataFolder) {
    temp_folder dir;
    dir.make_file(L"prog\\DefSet.txt", "x");
    app_state->data_path = std::wstring();
    ASSERT_EQ(orvkit::locate_folders_at(*app_state, dir / L"prog\\Ostrand.exe", false), 0);
    wchar_t roaming[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, roaming), S_OK);
    const std::wstring data = std::wstring(roaming) + L"\\Orvane\\Ostrand\\";
    const int tools_before = tool_count();
    const INT_PTR shown = drive_modal([&] { return orvkit::show_about_dialog(window); }, [&](HWND dialog) {
        const std::wstring prog_dirs = prog_dirs_text(dir / L"prog\\Ostrand.exe", data);
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_TEXT), prog_dirs);
        press(dialog, IDC_ABOUT_OPEN_DIRS);
        ASSERT_EQ(shell_calls.size(), 2u);
        EXPECT_EQ(shell_calls[0].file, dir / L"prog\\");
        EXPECT_EQ(shell_calls[1].file, data);
        for (const shell_call& call : shell_calls) {
            EXPECT_EQ(call.owner, nullptr);
            EXPECT_FALSE(call.verb || call.parameters || call.directory) << "default verb, nothing else";
            EXPECT_EQ(call.show, SW_SHOWNORMAL);
        }
        pick_page(dialog, VK_DOWN);
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_TEXT), L"Blank for now");
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_OPEN_DIRS), L"Open Dirs");
        EXPECT_TRUE(same_place(place_of(GetDlgItem(dialog, IDC_ABOUT_TEXT)), RECT{5, 190, 295, 330}));
        press(dialog, IDC_ABOUT_OPEN_DIRS);
        EXPECT_EQ(shell_calls.size(), 2u) << "nothing to open on this page";
        pick_page(dialog, VK_UP);
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_TEXT), prog_dirs);
        EXPECT_EQ(tool_count(), tools_before + 1) << "one tool for the button, however often a page shows";
        EXPECT_EQ(tip_of(GetDlgItem(dialog, IDC_ABOUT_OPEN_DIRS)), "Open Dirs");
        key(VK_RETURN);
    });
    EXPECT_EQ(shown, IDOK) << "Enter closes with 1";
    EXPECT_EQ(tool_count(), tools_before) << "no tool left for a window that is gone";
}

// Paths long enough that together they pass 1,024 characters are shown whole (the
// end of the text names the data folder, not a folder above it) and opened whole.
// Escape closes the dialog as Close does.
TEST_F(AboutDialog, LongPathsAreShownAndOpenedWhole) {
    temp_folder dir;
    const std::wstring folder = dir / (std::wstring(200, L'a') + L"\\" + std::wstring(200, L'b') + L"\\" +
                                       std::wstring(200, L'c') + L"\\");
    app_state->data_path = std::wstring();
    ASSERT_EQ(orvkit::locate_folders_at(*app_state, folder + L"Ostrand.exe", true), 0) << "portable";
    const INT_PTR shown = drive_modal([&] { return orvkit::show_about_dialog(window); }, [&](HWND dialog) {
        const std::wstring text = text_of(dialog, IDC_ABOUT_TEXT);
        EXPECT_GT(text.size(), 1300u);
        EXPECT_EQ(text, prog_dirs_text(folder + L"Ostrand.exe", folder));
        press(dialog, IDC_ABOUT_OPEN_DIRS);
        ASSERT_EQ(shell_calls.size(), 2u);
        EXPECT_EQ(shell_calls[0].file, folder) << "in portable use the same folder opens twice";
        EXPECT_EQ(shell_calls[1].file, folder);
        key(VK_ESCAPE);
    });
    EXPECT_EQ(shown, IDOK);
}

// Without a state nothing is shown.
TEST_F(AboutDialog, NoStateShowsNothing) {
    const std::shared_ptr<orvkit::ostrand_state> kept = about_state;
    about_state.reset();
    EXPECT_EQ(orvkit::show_about_dialog(window), -1);
    EXPECT_EQ(orvkit::show_diagnostics_window(window), nullptr);
    EXPECT_EQ(find_about_box(), nullptr);
    about_state = kept;
}
