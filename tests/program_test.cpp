// The program itself, as a user downloads and starts it.
#include "support/settings_sample.h"
#include "support/window_driver.h"
#include "ui/menu_ids.h"

using namespace orvkit;
using namespace test_support;

namespace {

// The program the build made, as a Windows path.
std::wstring built_program() {
    wchar_t exe[1024] = {};
    EXPECT_TRUE(GetEnvironmentVariableW(L"OSTRAND_EXE", exe, 1024)) << "run through CTest";
    return to_windows_path(to_unix_path(exe));
}

}  // namespace

TEST(Program, TheVersionResourceNamesTheProgram) {
    const std::wstring program = built_program();
    std::vector<uint8_t> version(GetFileVersionInfoSizeW(program.c_str(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    const std::pair<const wchar_t*, const wchar_t*> properties[] = {
        {L"ProductName", L"Ostrand"}, {L"CompanyName", L"Orvane"}, {L"FileVersion", L"2.0"}, {L"ProductVersion", L"2.0"},
        {L"FileDescription", L"Ostrand File Comparer and Duplicate Finder"}};
    for (const auto& [name, value] : properties) {
        wchar_t* text = nullptr;
        UINT units = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueW(version.data(), key.c_str(), reinterpret_cast<void**>(&text), &units)) << name;
        EXPECT_EQ(std::wstring(text), value);
    }
}

TEST(Program, ThePackageIsAZipOfTheProgramWithItsHelpPage) {
    const std::wstring built = built_program();
    const std::string package = read_file(built.substr(0, built.rfind(L'\\')) + L"\\Ostrand-2.0.zip");
    EXPECT_EQ(package.rfind("PK\x03\x04", 0), 0u);
    EXPECT_NE(package.find("Ostrand.exe"), std::string::npos);
    EXPECT_NE(package.find("ReadMe.htm"), std::string::npos);
}

// Started from a folder of its own holding a settings file and with arguments it must ignore: its window shows,
// normal though On Top was saved; closed, it exits with 0 and writes the options back, On Top cleared by the
// first On Top command.
TEST(Program, ANewStartKeepsEveryOptionOfItsFile) {
    temp_folder folder;
    const std::wstring program = folder / L"Ostrand.exe";
    ASSERT_TRUE(CopyFileW(built_program().c_str(), program.c_str(), FALSE));
    std::vector<uint8_t> image = sample_file();
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
    image[30] = 0;  // On Top, cleared by the On Top command
    EXPECT_EQ(read_file(folder / L"dVelk.dat"), std::string(image.begin(), image.end()));
}
