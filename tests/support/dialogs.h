// Modal dialogs driven from a helper thread while the test thread sits in their loop: buttons are pressed
// with PostMessageW, so a nested box never blocks the helper. Menus read from inside their own loop.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/window_driver.h"

namespace test_support {

// Visible dialogs of this process, newest first.
inline std::vector<HWND> visible_dialogs() {
    std::vector<HWND> found;
    EnumWindows([](HWND window, LPARAM all) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (process == GetCurrentProcessId() && std::wstring(name) == L"#32770" && IsWindowVisible(window))
            reinterpret_cast<std::vector<HWND>*>(all)->push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline std::wstring control_text(HWND dialog, int id) { return window_text(GetDlgItem(dialog, id)); }

inline std::wstring dialog_texts(HWND dialog) {
    std::wstring texts;
    EnumChildWindows(dialog, [](HWND child, LPARAM all) {
        return *reinterpret_cast<std::wstring*>(all) += window_text(child) + L"|", TRUE;
    }, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Dialogs some test expects now: the watchdog (test_main.cpp) leaves them alone.
inline std::atomic<int> expected_dialogs{0};

struct expect_dialogs {
    expect_dialogs() { ++expected_dialogs; }
    ~expect_dialogs() { --expected_dialogs; }
};

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

// The steps a helper thread takes in dialogs; a failed `find` or `gone` is recorded in `failures`, and
// closes what is left open instead of leaving the test thread in a dialog's loop.
struct dialog_script {
    // The newest visible dialog with this caption (any when empty) that is not `other`.
    HWND find(const std::wstring& caption, HWND other = nullptr, DWORD timeout_ms = 10000) {
        HWND found = nullptr;
        wait_until([&] {
            for (HWND dialog : visible_dialogs())
                if (dialog != other && (caption.empty() || window_text(dialog) == caption)) return (found = dialog), true;
            return false;
        }, timeout_ms);
        if (!found) fail(L"no dialog \"" + caption + L"\"");
        return found;
    }
    bool gone(HWND dialog, DWORD timeout_ms = 10000) {
        if (wait_until([&] { return !IsWindow(dialog); }, timeout_ms)) return true;
        fail(L"dialog \"" + window_text(dialog) + L"\" stayed open");
        return false;
    }
    void close(HWND dialog, int button = IDCANCEL) {
        press(dialog, button);
        gone(dialog);
    }
    void fail(const std::wstring& why) {
        failures.push_back(why);
        for (int round = 0; round < 50 && !visible_dialogs().empty(); ++round) {
            for (HWND dialog : visible_dialogs()) press(dialog, IDCANCEL);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    std::vector<std::wstring> failures;
};

// Runs `open` on this thread while `steps`, on a helper thread, drive the dialog captioned `caption`.
template <typename Open>
auto drive_dialog(const std::wstring& caption, Open open, const std::function<void(dialog_script&, HWND)>& steps,
                  DWORD timeout_ms = 10000) {
    const expect_dialogs expected;
    dialog_script script;
    std::thread helper([&] {
        if (HWND dialog = script.find(caption, nullptr, timeout_ms)) steps(script, dialog);
    });
    auto result = open();
    helper.join();
    EXPECT_EQ(script.failures, std::vector<std::wstring>{});
    return result;
}

// One line per menu: "text=id" (with "*" when checked, "(grayed)" when grayed),
// "-" for a separator, "text>[...]" for a submenu; items joined by "|".
inline std::wstring describe_menu(HMENU menu, std::vector<HMENU>* handles = nullptr) {
    if (handles) handles->push_back(menu);
    std::wstring out;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        wchar_t text[1300] = {};
        const UINT wanted = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        MENUITEMINFOW info{.cbSize = sizeof(info), .fMask = wanted, .dwTypeData = text, .cch = 1300};
        GetMenuItemInfoW(menu, i, TRUE, &info);
        out += (i ? L"|" : L"") + std::wstring(info.fType & MFT_SEPARATOR ? L"-" : text);
        if (info.fType & MFT_SEPARATOR) continue;
        out += info.hSubMenu ? L">[" + describe_menu(info.hSubMenu, handles) + L"]" : L"=" + std::to_wstring(info.wID);
        if (info.fState & MFS_CHECKED) out += L"*";
        if (info.fState & MFS_GRAYED) out += L"(grayed)";
    }
    return out;
}

// Calls `open` until a popup menu of this thread shows, up to three times (Wine now and then closes a menu opened
// straight after the last one), and `seen` with it from a timer inside the menu's loop; then closes the menu.
inline void show_menu(const std::function<void()>& open, const std::function<void(HWND)>& seen) {
    static const std::function<void(HWND)>* call = nullptr;
    static UINT_PTR timer = 0;
    call = &seen;
    for (int attempt = 0; attempt < 3 && call; ++attempt) {
        if (timer) KillTimer(nullptr, std::exchange(timer, 0));
        timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
            EnumThreadWindows(GetCurrentThreadId(), [](HWND popup, LPARAM) -> BOOL {
                wchar_t kind[16] = {};
                GetClassNameW(popup, kind, 16);
                if (std::wstring(kind) != L"#32768" || !IsWindowVisible(popup)) return TRUE;
                KillTimer(nullptr, std::exchange(timer, 0));
                (*std::exchange(call, nullptr))(popup);
                EndMenu();
                return FALSE;
            }, 0);
        });
        pump_for(20);
        open();
    }
    if (timer) KillTimer(nullptr, std::exchange(timer, 0));
    call = nullptr;
}

// What a right click on `window` shows, read through MN_GETHMENU; `handles` receives the menu and its submenus.
inline std::wstring right_click_menu(HWND window, std::vector<HMENU>* handles = nullptr) {
    std::wstring seen;
    show_menu([&] { SendMessageW(window, WM_RBUTTONUP, 0, 0); }, [&](HWND popup) {
        seen = describe_menu(reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)), handles);
    });
    return seen;
}

}  // namespace test_support
