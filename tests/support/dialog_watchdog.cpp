#include "support/dialog_watchdog.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace test_support {

namespace {

std::atomic<int> expected_depth{0};

BOOL CALLBACK collect_text(HWND child, LPARAM text) {
    wchar_t buffer[512] = {};
    GetWindowTextW(child, buffer, 512);
    if (buffer[0]) *reinterpret_cast<std::wstring*>(text) += std::wstring(buffer) + L" | ";
    return TRUE;
}

BOOL CALLBACK close_if_dialog(HWND window, LPARAM counter) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, 32);
    if (process != GetCurrentProcessId() || std::wstring(class_name) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    std::wstring text;
    EnumChildWindows(window, collect_text, reinterpret_cast<LPARAM>(&text));
    std::fwprintf(stderr, L"Unexpected dialog closed by the watchdog: %ls\n", text.c_str());
    PostMessageW(window, WM_COMMAND, IDNO, 0);
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    ++*reinterpret_cast<std::atomic<int>*>(counter);
    return TRUE;
}

}  // namespace

dialog_watchdog::dialog_watchdog() : thread_([this] { watch(); }) {}

dialog_watchdog::~dialog_watchdog() { stop(); }

int dialog_watchdog::stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    return closed_;
}

void dialog_watchdog::watch() {
    while (running_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        if (expected_depth == 0) EnumWindows(close_if_dialog, reinterpret_cast<LPARAM>(&closed_));
    }
}

expect_dialogs::expect_dialogs() { ++expected_depth; }
expect_dialogs::~expect_dialogs() { --expected_depth; }

}  // namespace test_support
