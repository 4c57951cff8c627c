// Presses No and Cancel on any dialog of this process that appears while no test
// expects one, logs its text, and counts it so the run fails instead of hanging.
#pragma once
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace test_support {

inline std::atomic<int> expected_dialogs{0};

// While one of these lives, dialogs are the test's own business.
struct expect_dialogs {
    expect_dialogs() { ++expected_dialogs; }
    ~expect_dialogs() { --expected_dialogs; }
};

class dialog_watchdog {
public:
    dialog_watchdog() : thread_([this] {
        while (running_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            if (expected_dialogs == 0) EnumWindows(close_if_dialog, reinterpret_cast<LPARAM>(&closed_));
        }
    }) {}
    ~dialog_watchdog() { stop(); }
    // Stops watching; returns how many unexpected dialogs were closed.
    int stop() {
        running_ = false;
        if (thread_.joinable()) thread_.join();
        return closed_;
    }

private:
    static BOOL CALLBACK close_if_dialog(HWND window, LPARAM closed) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t class_name[32] = {};
        GetClassNameW(window, class_name, 32);
        if (process != GetCurrentProcessId() || std::wstring(class_name) != L"#32770" || !IsWindowVisible(window))
            return TRUE;
        std::wstring text;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t buffer[512] = {};
            GetWindowTextW(child, buffer, 512);
            text += std::wstring(buffer) + L" | ";
        }
        std::fwprintf(stderr, L"Unexpected dialog closed by the watchdog: %ls\n", text.c_str());
        PostMessageW(window, WM_COMMAND, IDNO, 0);
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        ++*reinterpret_cast<std::atomic<int>*>(closed);
        return TRUE;
    }

    std::atomic<bool> running_{true};
    std::atomic<int> closed_{0};
    std::thread thread_;
};

}  // namespace test_support
