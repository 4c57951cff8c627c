// The real About dialog, opened by the main window's About button and by its
// opener, driven from a helper thread while the opener runs the dialog's loop.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "about/about_dialog.h"
#include "about/diagnostics_window.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"
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

std::wstring text_of(HWND dialog, int id) {  // whole, however long
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    return text.substr(0, GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
}

std::wstring prog_dirs_text(const std::wstring& program, const std::wstring& data) {
    return L"Location of program:\r\n" + program + L" \r\n\r\nWhere program stores user data:\r\n" + data;
}

// The user picks the next (VK_DOWN) or previous (VK_UP) page with the keyboard.
void pick_page(HWND dialog, WPARAM key) { SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, WM_KEYDOWN, key, 0); }

// Sent, not posted, from the helper thread: it returns once the dialog has handled the click.
void click(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

// A key through the dialog's own loop, posted to the dialog itself: IsDialogMessageW
// turns Enter into the default button (IDOK) and Escape into IDCANCEL, as it does for
// a key on any of its controls that is not a push button. Not GetFocus(): under
// CTest -j2 the other test's process shares the Wine desktop, and when it activates
// a window this thread loses the foreground and with it its active window and focus;
// GetFocus() is then null and a key posted to no window never reaches the dialog.
void key(HWND dialog, WPARAM key) { PostMessageW(dialog, WM_KEYDOWN, key, 0); }

// Presses "Open Dirs" and expects the shell asked, with the default verb and
// nothing else, to open `program_folder`, then `data_folder`.
void expect_open_dirs(HWND dialog, const std::wstring& program_folder, const std::wstring& data_folder) {
    click(dialog, IDC_ABOUT_OPEN_DIRS);
    ASSERT_EQ(shell_calls.size(), 2u);
    EXPECT_EQ(shell_calls[0].file, program_folder);
    EXPECT_EQ(shell_calls[1].file, data_folder);
    for (const shell_call& call : shell_calls) {
        EXPECT_EQ(call.owner, nullptr);
        EXPECT_FALSE(call.verb || call.parameters || call.directory);
        EXPECT_EQ(call.show, SW_SHOWNORMAL);
    }
}

class AboutDialog : public main_window_test {
protected:
    void SetUp() override {
        main_window_test::SetUp();
        orvkit::about_shell_execute = record_shell_call;
        shell_calls.clear();
    }
};

}  // namespace

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
    const auto open = [&] { return orvkit::show_about_dialog(window); };
    const INT_PTR shown = drive_dialog(L"", open, [&](dialog_script& s, HWND dialog) {
        const std::wstring prog_dirs = prog_dirs_text(dir / L"prog\\Ostrand.exe", data);
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_TEXT), prog_dirs);
        expect_open_dirs(dialog, dir / L"prog\\", data);
        pick_page(dialog, VK_DOWN);
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_TEXT), L"Blank for now");
        click(dialog, IDC_ABOUT_OPEN_DIRS);
        EXPECT_EQ(shell_calls.size(), 2u) << "nothing to open on this page";
        pick_page(dialog, VK_UP);
        EXPECT_EQ(text_of(dialog, IDC_ABOUT_TEXT), prog_dirs);
        EXPECT_EQ(tool_count(), tools_before + 1) << "one tool for the button, however often a page shows";
        RECT frame;
        GetClientRect(dialog, &frame);
        const capture shot = print_client(dialog, frame.right, frame.bottom, true);
        EXPECT_EQ(save_png(L"about_dialog.png", shot), std::getenv("OSTRAND_TEST_OUTPUT") != nullptr);
        key(dialog, VK_RETURN);
        s.gone(dialog);
    });
    EXPECT_EQ(shown, IDOK) << "Enter closes with 1";
    EXPECT_EQ(tool_count(), tools_before) << "no tool left for a window that is gone";
}

// The About button of the idle window opens the dialog, owned by the window, on the
// "Prog Dirs" page. In portable use the data folder is the program's own, and paths
// long enough that together they pass 1,024 characters are shown whole (the end of
// the text names the data folder, not a folder above it) and opened whole. Escape
// closes the dialog.
TEST_F(AboutDialog, TheAboutButtonShowsLongPortablePathsWholeAndOpensThem) {
    temp_folder dir;
    const std::wstring folder = dir / (std::wstring(200, L'a') + L"\\" + std::wstring(200, L'b') + L"\\" +
                                       std::wstring(200, L'c') + L"\\");
    app_state->data_path = std::wstring();
    ASSERT_EQ(orvkit::locate_folders_at(*app_state, folder + L"Ostrand.exe", true), 0) << "portable";
    const auto open = [&] { return click_at(top), 0; };
    drive_dialog(L"", open, [&](dialog_script& s, HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, CB_GETCURSEL, 0, 0), 0) << "Prog Dirs";
        const std::wstring text = text_of(dialog, IDC_ABOUT_TEXT);
        EXPECT_GT(text.size(), 1300u);
        EXPECT_EQ(text, prog_dirs_text(folder + L"Ostrand.exe", folder));
        expect_open_dirs(dialog, folder, folder);  // in portable use the same folder opens twice
        key(dialog, VK_ESCAPE);
        s.gone(dialog);
    });
    EXPECT_TRUE(IsWindow(window));
}

// Without a state nothing is shown.
TEST_F(AboutDialog, NoStateShowsNothing) {
    const std::shared_ptr<orvkit::ostrand_state> kept = about_state;
    about_state.reset();
    EXPECT_EQ(orvkit::show_about_dialog(window), -1);
    EXPECT_EQ(orvkit::show_diagnostics_window(window), nullptr);
    EXPECT_TRUE(visible_dialogs().empty());
    about_state = kept;
}
