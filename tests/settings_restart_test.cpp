// The program itself, started from a folder of its own holding a settings file and with arguments it must
// ignore: its window shows, normal though On Top was saved; closed, it exits with 0 and writes the options
// back, On Top cleared by the first On Top command.
#include "core/settings_layout.h"
#include "support/window_driver.h"
#include "ui/menu_ids.h"

using namespace test_support;
using namespace orvkit;

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
    auto shows = [&] {  // a visible main window of that program, not of another test's
        while ((shown = FindWindowExW(nullptr, shown, L"Ostrand", nullptr)))
            if (GetWindowThreadProcessId(shown, nullptr) == process.dwThreadId && IsWindowVisible(shown)) return true;
        return false;
    };
    EXPECT_TRUE(pump_until(shows)) << "its main window shows";
    EXPECT_EQ(window_text(shown), L"Ostrand 2.0");
    EXPECT_FALSE(GetWindowLongPtrW(shown, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageW(shown, WM_COMMAND, menu_on_top, 0);
    PostMessageW(shown, WM_CLOSE, 0, 0);
    DWORD exit_code = 99;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exit_code);
    TerminateProcess(process.hProcess, 1);  // only when it did not end in time
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exit_code, 0u);
    block.on_top = 0;
    const std::vector<uint8_t> written = settings_file_image(block);
    EXPECT_EQ(read_file(folder / L"dVelk.dat"), std::string(written.begin(), written.end()));
}
