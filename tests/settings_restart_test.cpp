// Options set through the menu, the window closed while idle, then a new start:
// the same options, read back from the settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/menu_commands.h"
#include "app/settings_file.h"
#include "core/settings_layout.h"
#include "support/dialogs.h"
#include "ui/menu_ids.h"

using namespace test_support;
using namespace orvkit;

namespace {

std::wstring move_folder;  // what the folder browser answers

class SettingsRestart : public main_window_test {
protected:
    void SetUp() override {
        main_window_test::SetUp();
        app_state->data_path = data.path() + L"\\";
        move_folder = data.make_folder(L"twins go here");
        menu_open.browse_folder = [](HWND, std::wstring& folder) { return folder = move_folder, true; };
    }
    void TearDown() override {}  // each window is closed by the test
    void command(UINT id) { SendMessageW(window, WM_COMMAND, id, 0); }
    temp_folder data;
};

}  // namespace

TEST_F(SettingsRestart, EveryOptionSetThroughTheMenuIsShownAfterANewStart) {
    click_at(mode_switch);  // Quick Dir -> QDir+
    command(menu_select_move_dir);
    command(menu_delete);
    command(menu_percent_95 + 3);  // 98%
    for (UINT id : {menu_hash, menu_check_zero_length, menu_remove_empty_dirs, menu_override_read_only, menu_on_top,
                    menu_transparent, menu_remove_when_found, menu_column_b})
        command(id);
    command(menu_exit);
    ASSERT_FALSE(IsWindow(window));
    ASSERT_EQ(read_file(data / L"dVelk.dat").size(), 2432u);

    // A new start: what a fresh process holds, then the program's start-up with this data folder.
    transparent = remove_when_found = remove_column_a = remove_column_b = 0;
    search_mode = 0;
    ASSERT_EQ(initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
    window = app_state->main_window;
    app_state->data_path = data.path() + L"\\";
    read_settings();
    EXPECT_EQ(search_mode.load(), 3u);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << "start-up makes no window topmost";
    EXPECT_EQ(right_click_menu(window),
              L"About=2000|Help=2001|-|Resume Seeking=2078|Resume Seeking+=2079|-|Transparent=2017|On Top=2018*|"
              L"Settings>[Batch Delete Mode>[Recycle=2021|Delete=2022*|Move to " + move_folder +
              L"=2023|-|Select Move Dir=2024]|Match Percentage>[50%=2050|75%=2051|90%=2052|95%=2053|96%=2054|"
              L"97%=2055|98%=2056*|99%=2057|100%=2058]|Hash=2072|Override Read Only=2076*|"
              L"Remove ALL Empty Directories=2019|Check zero length files=2075|"
              L"Remove duplicates when they are found=2081]|-|Exit=2002");
    command(menu_on_top);
    EXPECT_EQ(app_state->settings.on_top, 0) << "the first On Top clears the restored flag";
    DestroyWindow(window);
}

// The program itself, started from a folder of its own holding a settings file and
// with arguments it must ignore: it shows its window, normal though On Top was saved,
// exits with 0 when the window is closed, and writes back the very same bytes.
TEST(Program, ANewStartKeepsEveryOptionOfItsFileIgnoresArgumentsAndExitsWithZero) {
    wchar_t exe[1024] = {};
    ASSERT_TRUE(GetEnvironmentVariableW(L"OSTRAND_EXE", exe, 1024)) << "run through CTest";
    temp_folder folder;
    const std::wstring program = folder / L"Ostrand.exe";
    ASSERT_TRUE(CopyFileW(to_windows_path(to_unix_path(exe)).c_str(), program.c_str(), FALSE));
    settings_block block;
    block.match_percentage = 75;
    block.use_hash = block.remove_empty_dirs = 0;
    block.on_top = 1;
    store_outside_options(block, 1, 2, 1, L"C:\\Moved twins");
    const std::vector<uint8_t> image = settings_file_image(block);
    folder.make_file(L"dVelk.dat", std::string(image.begin(), image.end()));

    std::wstring command = L"\"" + program + L"\" C:\\nothing\\here.txt /q --mode=3";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    HWND shown = nullptr;
    EXPECT_TRUE(pump_until([&] {
        for (shown = nullptr; (shown = FindWindowExW(nullptr, shown, L"Ostrand", nullptr));) {
            DWORD owner = 0;
            if (GetWindowThreadProcessId(shown, &owner) && owner == process.dwProcessId && IsWindowVisible(shown))
                return true;
        }
        return false;
    })) << "its main window shows";
    EXPECT_EQ(window_text(shown), L"Ostrand 2.0");
    EXPECT_FALSE(GetWindowLongPtrW(shown, GWL_EXSTYLE) & WS_EX_TOPMOST);

    PostMessageW(shown, WM_CLOSE, 0, 0);
    DWORD exit_code = 99;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exit_code);
    TerminateProcess(process.hProcess, 1);  // only when it did not end in time
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exit_code, 0u);
    EXPECT_EQ(read_file(folder / L"dVelk.dat"), std::string(image.begin(), image.end()));
}
