// The real About dialog, opened by the About button and by its opener; the diagnostics window; the data
// folder; the file picker through the real open-file dialog.
#include <shlobj.h>

#include "about/about_dialog.h"
#include "about/diagnostics_window.h"
#include "resources/resource_ids.h"
#include "support/dialogs.h"
#include "ui/data_folder.h"
#include "ui/standard_dialogs.h"

using namespace test_support;
using namespace orvkit;

namespace {
// What "Open Dirs" asked the shell to open; a call that is not a plain open is marked.
std::vector<std::wstring> opened;

HINSTANCE WINAPI record_open(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show) {
    const bool plain = !owner && !verb && !parameters && !directory && show == SW_SHOWNORMAL;
    opened.push_back((plain ? L"" : L"not plain: ") + std::wstring(file ? file : L"(none)"));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // what the shell returns on success
}

void pick_page(HWND dialog, WPARAM key) { SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, WM_KEYDOWN, key, 0); }
void open_dirs(HWND dialog) { SendDlgItemMessageW(dialog, IDC_ABOUT_OPEN_DIRS, BM_CLICK, 0, 0); }

// Posted to the dialog, not to GetFocus(): under CTest -j2 another test's window can take the focus.
void key(HWND dialog, WPARAM key) { PostMessageW(dialog, WM_KEYDOWN, key, 0); }

class AboutDialog : public main_window_test {};

class DiagnosticsWindow : public main_window_test {
protected:
    expect_dialogs expecting;  // its windows are visible dialogs of this process until TearDown closes them
};
}  // namespace

// The About button opens the dialog on "Prog Dirs"; paths together past 1,024 characters are shown and
// opened whole. "Diagnostics" opens nothing. The button's one tooltip lives as long as the dialog.
TEST_F(AboutDialog, PagesAndOpenDirsWithLongPathsAndThePerUserDataFolder) {
    about_shell_execute = record_open;
    temp_folder dir;
    const std::wstring folder = dir.make_folder(std::wstring(250, L'a') + L"\\" + std::wstring(250, L'b') + L"\\" +
                                                std::wstring(250, L'c') + L"\\" + std::wstring(250, L'd')) + L"\\";
    dir.make_file(folder.substr(dir.path().size() + 1) + L"DefSet.txt", "x");  // data in the per-user folder
    ASSERT_EQ(locate_folders_at(*app_state, folder + L"Ostrand.exe", false), 0);
    wchar_t roaming[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, roaming), S_OK);
    const std::wstring data = std::wstring(roaming) + L"\\Orvane\\Ostrand\\";
    EXPECT_TRUE(exists(data)) << "made";
    const std::wstring prog_dirs =
        L"Location of program:\r\n" + folder + L"Ostrand.exe \r\n\r\nWhere program stores user data:\r\n" + data;
    const int tools_before = tool_count();
    drive_dialog(L"", [&] { return click_at(top), 0; }, [&](dialog_script& s, HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ABOUT_PAGES, CB_GETCURSEL, 0, 0), 0) << "Prog Dirs";
        EXPECT_EQ(control_text(dialog, IDC_ABOUT_TEXT), prog_dirs);
        open_dirs(dialog);
        pick_page(dialog, VK_DOWN);
        EXPECT_EQ(control_text(dialog, IDC_ABOUT_TEXT), L"Blank for now");
        open_dirs(dialog);
        EXPECT_EQ(opened, (std::vector<std::wstring>{folder, data})) << "the program's folder, then the data";
        pick_page(dialog, VK_UP);
        EXPECT_EQ(control_text(dialog, IDC_ABOUT_TEXT), prog_dirs);
        EXPECT_EQ(tool_count(), tools_before + 1) << "one tool for the button, however often a page shows";
        key(dialog, VK_ESCAPE);
        s.gone(dialog);
    });
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(tool_count(), tools_before) << "no tool left for a window that is gone";
    const auto close_by_enter = [](dialog_script& s, HWND dialog) { key(dialog, VK_RETURN); s.gone(dialog); };
    EXPECT_EQ(drive_dialog(L"", [&] { return show_about_dialog(window); }, close_by_enter), IDOK) << "the opener's";
}

// The diagnostics window says "Ready..." until its own timer fires, then what debug_text holds; Enter in its
// text box puts the window away, and the window stays.
TEST_F(DiagnosticsWindow, ReadyThenTheDiagnosticsText) {
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

// Without "DefSet.txt", or on a removable drive, the data stays beside the program (the marker on a fixed drive
// chooses the per-user folder: AboutDialog); the running program is asked of the loader; a null state is left alone.
TEST(DataFolder, WithoutTheMarkerOrOnARemovableDriveTheDataStaysBesideTheProgram) {
    temp_folder dir;
    dir.make_file(L"marked\\DefSet.txt", "x");
    dir.make_folder(L"plain");
    for (const auto& [folder, removable] : {std::pair{L"plain", false}, {L"marked", true}}) {
        ostrand_state state;
        ASSERT_EQ(locate_folders_at(state, dir / folder + L"\\Ostrand.exe", removable), 0);
        EXPECT_EQ(state.program_path.folder + L"|" + state.data_path.folder, dir / folder + L"\\|" + dir / folder + L"\\");
    }
    auto state = std::make_shared<ostrand_state>();
    ASSERT_EQ(locate_folders(state), 0);
    EXPECT_EQ(state->program_path.name, L"ostrand_tests.exe");
    EXPECT_EQ(locate_folders(nullptr), 0);
}

// Open keeps the typed file and the next pick starts in its folder; Cancel returns
// 0 and keeps it; a start that is gone, or a folder, opens at Documents.
TEST(PickFile, OpenAndCancel) {
    temp_folder dir;
    const std::wstring chosen = dir.make_file(L"sub\\chosen \u00e9t\u00e9.txt", "one");
    wchar_t documents[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
    const struct {
        std::wstring start, typed, opened_at, picked;
    } cases[] = {
        {L"", chosen, L"", chosen},
        {chosen, L"", dir / L"sub", chosen},
        {dir / L"gone.txt", L"", documents, std::wstring(documents) + L"\\"},
        {dir.path(), L"", documents, std::wstring(documents) + L"\\"},  // a folder is no file to start at
    };
    for (const auto& c : cases) {
        if (!c.start.empty()) picked_path = c.start;
        std::wstring opened_at;
        const auto open = [] { return pick_file(std::make_shared<ostrand_state>(), nullptr); };
        const int result = drive_dialog(L"Select", open, [&](dialog_script& s, HWND dialog) {
            wchar_t folder[2048] = {};  // the view is filled after the dialog shows
            wait_until([&] { return SendMessageW(dialog, CDM_GETFOLDERPATH, 2048, reinterpret_cast<LPARAM>(folder)) > 1; });
            opened_at = folder;
            if (!c.typed.empty()) SetDlgItemTextW(dialog, 0x47c, c.typed.c_str());  // the file name box
            press(dialog, c.typed.empty() ? IDCANCEL : IDOK);
            s.gone(dialog);
        }, 20000);
        EXPECT_EQ(result != 0, !c.typed.empty()) << to_unix_path(c.start);
        EXPECT_TRUE(c.opened_at.empty() || opened_at == c.opened_at) << to_unix_path(opened_at);
        EXPECT_EQ(picked_path, c.picked);
    }
    EXPECT_EQ(pick_file(nullptr, nullptr), 0) << "a null state shows nothing";
}
