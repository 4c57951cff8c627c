// Reads a popup menu back from its handle, and the menu the main window shows on
// a right click, from inside the menu's own modal loop.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/pump.h"

namespace test_support {

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
