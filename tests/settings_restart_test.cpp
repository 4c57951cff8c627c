// The program itself, started from a folder of its own holding a settings file and with arguments it must
// ignore: its window shows, normal though On Top was saved; closed, it exits with 0 and writes the options
// back, On Top cleared by the first On Top command. Its Properties name it and its version, and the package
// a user downloads holds it and its help page.
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
    const std::wstring built = to_windows_path(to_unix_path(exe));
    ASSERT_TRUE(CopyFileW(built.c_str(), program.c_str(), FALSE));
    std::vector<uint8_t> version(GetFileVersionInfoSizeW(program.c_str(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    for (const auto& [name, value] : {std::pair{L"ProductName", L"Ostrand"}, {L"CompanyName", L"Orvane"},
                                      {L"FileVersion", L"2.0"}, {L"ProductVersion", L"2.0"},
                                      {L"FileDescription", L"Ostrand File Comparer and Duplicate Finder"}}) {
        void* text = nullptr;
        UINT units = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueW(version.data(), key.c_str(), &text, &units)) << name;
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(text)), value);
    }
    const std::string package = read_file(built.substr(0, built.rfind(L'\\')) + L"\\Ostrand-2.0.zip");
    EXPECT_EQ(package.rfind("PK\x03\x04", 0), 0u) << "a zip";
    EXPECT_NE(package.find("Ostrand.exe"), std::string::npos);
    EXPECT_NE(package.find("ReadMe.htm"), std::string::npos);
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
