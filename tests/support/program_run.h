// The real Ostrand.exe in a process of its own: started, its main window found,
// closed as a user closes it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/pump.h"
#include "support/temp_folder.h"

namespace test_support {

// The program CTest built, as a Windows path; empty when not run through CTest.
inline std::wstring built_program() {
    wchar_t exe[1024] = {};
    if (!GetEnvironmentVariableW(L"OSTRAND_EXE", exe, 1024)) return {};
    return to_windows_path(to_unix_path(exe));
}

class program_run {
public:
    program_run() = default;
    program_run(const program_run&) = delete;
    program_run& operator=(const program_run&) = delete;
    ~program_run() {
        if (process_.hProcess) {
            TerminateProcess(process_.hProcess, 1);  // only when a test failed half-way
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }

    // Starts `command_line` and waits for the visible main window of that process.
    bool start(std::wstring command_line) {
        STARTUPINFOW startup{sizeof(startup)};
        if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_))
            return false;
        const DWORD id = process_.dwProcessId;
        HWND& shown = window_;
        return pump_until([id, &shown] {
            for (shown = nullptr; (shown = FindWindowExW(nullptr, shown, L"Ostrand", nullptr));) {
                DWORD owner = 0;
                if (GetWindowThreadProcessId(shown, &owner) && owner == id && IsWindowVisible(shown)) return true;
            }
            return false;
        });
    }

    HWND window() const { return window_; }

    // Closes the window and waits for the process: its exit code, or 99 when it
    // did not end in time.
    DWORD close() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        DWORD exit_code = 99;
        if (WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process_.hProcess, &exit_code);
        else TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
        return exit_code;
    }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

}  // namespace test_support
