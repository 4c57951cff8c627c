// The one way tests find and drive dialogs and menus. Modal dialogs are driven from
// a helper thread while the test thread sits in their message loop: it finds a
// dialog (#32770) of this process, reads its controls and presses its buttons with
// PostMessageW, so a button that opens a nested box never blocks the helper. A step
// that times out records why and closes whatever dialog is left, so a stuck dialog
// fails the test instead of hanging it. A watchdog closes any dialog that appears
// while no test expects one; popup menus are read from inside their own loop.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/window_driver.h"

namespace test_support {

// Visible windows of this process of class `kind` (dialogs, or #32768 for menus),
// newest first as the window manager lists them.
inline std::vector<HWND> visible_dialogs(const wchar_t* kind = L"#32770") {
    struct query {
        const wchar_t* kind;
        std::vector<HWND> found;
    } asked{kind, {}};
    EnumWindows([](HWND window, LPARAM parameter) -> BOOL {
        auto& asked = *reinterpret_cast<query*>(parameter);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (process == GetCurrentProcessId() && std::wstring(name) == asked.kind && IsWindowVisible(window))
            asked.found.push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&asked));
    return asked.found;
}

inline std::wstring caption_of(HWND window) { return window_text(window); }

inline std::wstring control_text(HWND dialog, int id) { return window_text(GetDlgItem(dialog, id)); }

// The texts of a dialog's controls, each followed by "|".
inline std::wstring dialog_texts(HWND dialog) {
    std::wstring texts;
    EnumChildWindows(dialog, [](HWND child, LPARAM all) {
        return *reinterpret_cast<std::wstring*>(all) += caption_of(child) + L"|", TRUE;
    }, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

inline std::atomic<int> expected_dialogs{0};

// While one of these lives, dialogs are the test's own business.
struct expect_dialogs {
    expect_dialogs() { ++expected_dialogs; }
    ~expect_dialogs() { --expected_dialogs; }
};

// Presses No and Cancel on any dialog of this process that appears while no test
// expects one, logs its text, and counts it so the run fails instead of hanging.
class dialog_watchdog {
public:
    dialog_watchdog() : thread_([this] {
        while (running_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            if (expected_dialogs > 0) continue;
            for (HWND box : visible_dialogs()) {
                std::fwprintf(stderr, L"Unexpected dialog closed by the watchdog: %ls\n", dialog_texts(box).c_str());
                PostMessageW(box, WM_COMMAND, IDNO, 0);
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                ++closed_;
            }
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
    std::atomic<bool> running_{true};
    std::atomic<int> closed_{0};
    std::thread thread_;
};

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

// Runs `open` on this thread while `steps` drive the dialog captioned `caption` (any
// caption when empty) from the helper thread; every step must succeed.
template <typename Open>
auto drive_dialog(const std::wstring& caption, Open open, const std::function<void(dialog_script&, HWND)>& steps,
                  DWORD timeout_ms = 10000) {
    dialog_script script([&](dialog_script& s) {
        if (HWND dialog = s.find(caption, nullptr, timeout_ms)) steps(s, dialog);
    });
    auto result = open();
    script.finish();
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
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 1300;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        out += i ? L"|" : L"";
        if (info.fType & MFT_SEPARATOR) {
            out += L"-";
            continue;
        }
        out += text;
        out += info.hSubMenu ? L">[" + describe_menu(info.hSubMenu, handles) + L"]" : L"=" + std::to_wstring(info.wID);
        if (info.fState & MFS_CHECKED) out += L"*";
        if (info.fState & MFS_GRAYED) out += L"(grayed)";
    }
    return out;
}

// What a right click on `window` shows: a timer firing inside the menu's modal
// loop finds this thread's menu window, reads the menu through MN_GETHMENU and
// closes it. `handles` receives the menu and the submenus reachable from it.
inline std::wstring right_click_menu(HWND window, std::vector<HMENU>* handles = nullptr) {
    static std::wstring seen;
    static std::vector<HMENU> seen_handles;
    static UINT_PTR timer;
    seen.clear(), seen_handles.clear();
    timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), [](HWND popup, LPARAM) -> BOOL {
            wchar_t kind[16] = {};
            GetClassNameW(popup, kind, 16);
            if (std::wstring(kind) != L"#32768" || !IsWindowVisible(popup)) return TRUE;
            const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            if (!menu) return TRUE;
            KillTimer(nullptr, timer);
            seen = describe_menu(menu, &seen_handles);
            EndMenu();
            return FALSE;
        }, 0);
    });
    // Wine now and then closes a menu opened straight after the last one closed,
    // before it shows: the click is repeated then, a few times at most.
    for (int attempt = 0; attempt < 3 && seen.empty(); ++attempt) {
        pump_for(20);
        SendMessageW(window, WM_RBUTTONUP, 0, 0);
    }
    KillTimer(nullptr, timer);
    if (handles) *handles = seen_handles;
    return seen;
}

}  // namespace test_support
