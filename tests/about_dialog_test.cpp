// The real About dialog, opened by the About button and by its opener, and the diagnostics window.
#include "about/about_dialog.h"
#include "about/diagnostics_window.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"
#include "ui/data_folder.h"

using namespace test_support;

// What "Open Dirs" asked the shell to open; a call that is not a plain open is marked.
static std::vector<std::wstring> opened;

static HINSTANCE WINAPI record_open(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                    INT show) {
    const bool plain = !owner && !verb && !parameters && !directory && show == SW_SHOWNORMAL;
    opened.push_back((plain ? L"" : L"not plain: ") + std::wstring(file ? file : L"(none)"));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // what the shell returns on success
}

static void pick_page(HWND dialog, WPARAM key) { SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, WM_KEYDOWN, key, 0); }
// Posted to the dialog, not to GetFocus(): under CTest -j2 another test's window can take the focus.
static void key(HWND dialog, WPARAM key) { PostMessageW(dialog, WM_KEYDOWN, key, 0); }

// The program in a folder whose path passes 1,024 characters, its data in the per-user folder.
struct AboutDialog : main_window_test {
    void SetUp() override {
        main_window_test::SetUp();
        about_shell_execute = record_open;
        folder = tree.make_folder(std::wstring(250, L'a') + L"\\" + std::wstring(250, L'b') + L"\\" +
                                  std::wstring(250, L'c') + L"\\" + std::wstring(250, L'd')) + L"\\";
        tree.make_file(folder.substr(tree.path().size() + 1) + L"DefSet.txt", "x");
        ASSERT_EQ(locate_folders_at(*app_state, folder + L"Ostrand.exe", false), 0);
    }
    void open(const std::function<void(HWND)>& steps) {
        drive_dialog(L"", [&] { return click_at(top), 0; }, [&](dialog_script& s, HWND dialog) {
            steps(dialog);
            key(dialog, VK_ESCAPE);
            s.gone(dialog);
        });
    }
    std::wstring folder;
};

struct DiagnosticsWindow : main_window_test {
    expect_dialogs expecting;  // its windows are visible dialogs of this process until TearDown closes them
};

TEST_F(AboutDialog, ProgDirsGivesBothFoldersInFull) {
    const std::wstring prog_dirs = L"Location of program:\r\n" + folder +
                                   L"Ostrand.exe \r\n\r\nWhere program stores user data:\r\n" + app_state->data_path.full;
    open([&](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, CB_GETCURSEL, 0, 0), 0) << "Prog Dirs";
        EXPECT_EQ(control_text(dialog, IDC_ABOUT_TEXT), prog_dirs);
        SendDlgItemMessageW(dialog, IDC_ABOUT_OPEN_DIRS, BM_CLICK, 0, 0);
        pick_page(dialog, VK_DOWN);
        EXPECT_EQ(control_text(dialog, IDC_ABOUT_TEXT), L"Blank for now");
        SendDlgItemMessageW(dialog, IDC_ABOUT_OPEN_DIRS, BM_CLICK, 0, 0);
        pick_page(dialog, VK_UP);
        EXPECT_EQ(control_text(dialog, IDC_ABOUT_TEXT), prog_dirs);
    });
    EXPECT_EQ(opened, (std::vector<std::wstring>{folder, app_state->data_path.full}));
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(AboutDialog, TheButtonsOneTooltipLivesAsLongAsTheDialog) {
    const int tools_before = tool_count();
    open([&](HWND dialog) {
        pick_page(dialog, VK_DOWN);
        pick_page(dialog, VK_UP);
        EXPECT_EQ(tool_count(), tools_before + 1) << "however often a page shows";
    });
    EXPECT_EQ(tool_count(), tools_before);
}

TEST_F(AboutDialog, TheOpenerReturnsOkWhenEnterClosesIt) {
    const auto close_by_enter = [](dialog_script& s, HWND dialog) { key(dialog, VK_RETURN); s.gone(dialog); };
    EXPECT_EQ(drive_dialog(L"", [&] { return show_about_dialog(window); }, close_by_enter), IDOK);
}

// "Ready..." until its timer fires; Enter in its text box puts the window away, and the window stays.
TEST_F(DiagnosticsWindow, ShowsTheDiagnosticsTextUntilPutAway) {
    HWND shown = show_diagnostics_window(window);
    const auto text = [&] { return window_text(GetDlgItem(shown, IDC_DIAGNOSTICS_TEXT)); };
    EXPECT_EQ(GetWindow(shown, GW_OWNER), window);
    EXPECT_EQ(text(), L"Ready...");
    about_state->debug_text = L"3 folders walked\r\n12 files compared";
    ASSERT_TRUE(pump_until([&] { return text() != L"Ready..."; }, diagnostics_timer_ms + 2000));
    EXPECT_EQ(text(), about_state->debug_text);
    PostMessageW(GetDlgItem(shown, IDC_DIAGNOSTICS_TEXT), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(pump_until([&] { return !IsWindowVisible(shown); }, 5000));
    EXPECT_TRUE(IsWindow(shown));
}
