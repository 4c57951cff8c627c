// Drives modal dialogs from a helper thread while the test thread sits in their
// message loop: finds a dialog (#32770) of this process, reads its controls and
// presses its buttons with PostMessageW, so a button that opens a nested box never
// blocks the helper. A step that times out records why and closes whatever dialog
// is left, so a stuck dialog fails the test instead of hanging it.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/dialog_watchdog.h"

namespace test_support {

// Visible dialogs of this process, newest first as the window manager lists them.
inline std::vector<HWND> visible_dialogs() {
    std::vector<HWND> found;
    EnumWindows([](HWND window, LPARAM list) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t kind[16] = {};
        GetClassNameW(window, kind, 16);
        if (process == GetCurrentProcessId() && std::wstring(kind) == L"#32770" && IsWindowVisible(window))
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline std::wstring caption_of(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

inline std::wstring control_text(HWND dialog, int id) {
    wchar_t text[1300] = {};
    GetDlgItemTextW(dialog, id, text, 1300);
    return text;
}

// The texts of a dialog's controls, each followed by "|".
inline std::wstring dialog_texts(HWND dialog) {
    std::wstring texts;
    EnumChildWindows(dialog, [](HWND child, LPARAM all) {
        return *reinterpret_cast<std::wstring*>(all) += caption_of(child) + L"|", TRUE;
    }, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Polls `done` every 10 ms on the helper thread, for at most `timeout_ms`.
inline bool wait_until(const std::function<bool()>& done, DWORD timeout_ms = 10000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

inline void press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A dialog's button by its text ("&Yes" matches "Yes").
inline int button_named(HWND dialog, const std::wstring& name) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = caption_of(child);
        std::erase(text, L'&');
        if (text == name) return GetDlgCtrlID(child);
    }
    return 0;
}

// Runs `steps` on a helper thread; `finish` joins it. `find` and `gone` are the
// steps' bounded waits: a failed one is recorded in `failures` and returns null.
class dialog_script {
public:
    explicit dialog_script(std::function<void(dialog_script&)> steps)
        : thread_([this, steps] { steps(*this); }) {}
    ~dialog_script() { finish(); }
    dialog_script(const dialog_script&) = delete;
    dialog_script& operator=(const dialog_script&) = delete;

    // The newest visible dialog with this caption (any caption when empty) that is
    // not `other`.
    HWND find(const std::wstring& caption, HWND other = nullptr, DWORD timeout_ms = 10000) {
        HWND found = nullptr;
        wait_until([&] {
            for (HWND dialog : visible_dialogs())
                if (dialog != other && (caption.empty() || caption_of(dialog) == caption)) return (found = dialog), true;
            return false;
        }, timeout_ms);
        if (!found) fail(L"no dialog \"" + caption + L"\"");
        return found;
    }
    bool gone(HWND dialog, DWORD timeout_ms = 10000) {
        if (wait_until([&] { return !IsWindow(dialog); }, timeout_ms)) return true;
        fail(L"dialog \"" + caption_of(dialog) + L"\" stayed open");
        return false;
    }
    void fail(const std::wstring& why) {
        failures.push_back(why);
        for (int round = 0; round < 50 && !visible_dialogs().empty(); ++round) {
            for (HWND dialog : visible_dialogs()) press(dialog, IDCANCEL);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    void finish() {
        if (thread_.joinable()) thread_.join();
    }

    std::vector<std::wstring> failures;

private:
    expect_dialogs expected_;
    std::thread thread_;
};

}  // namespace test_support
