// Driving the real main window from a benchmark: its size, the Start click, and
// messages pumped until the closing row is listed.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "core/globals.h"
#include "core/run_protocol.h"
#include "ui/results_list.h"

namespace bench {

constexpr int window_width = 700;
constexpr int window_height = 360;
constexpr POINT start_button{window_width - 120, 27};

inline void size_window(HWND window) {
    RECT frame{0, 0, window_width, window_height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window_width, window_height));
}

inline int listed_rows() { return static_cast<int>(SendMessageW(::list_view, LVM_GETITEMCOUNT, 0, 0)); }

inline std::wstring cell(int row, int column) {
    wchar_t text[orvkit::cell_text_units] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = orvkit::cell_text_units;
    SendMessageW(::list_view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

inline bool closing_row_listed() {
    if (::run_status.load() != orvkit::status_idle) return false;
    const int rows = listed_rows();
    return rows > 0 && (cell(rows - 1, 0) == L"Finished" || cell(rows - 1, 0) == L"Aborted");
}

// The messages a click on Start produces.
inline void click_start(HWND window) {
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(start_button.x, start_button.y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(start_button.x, start_button.y));
}

// Pumps messages until the closing row is listed, calling `each` after every
// round. Waits 20 ms at a time, as an idle window does, so the benchmark does not
// wake the Wine server beside the search it measures.
inline void pump_until_closed(const std::function<void()>& each = {}) {
    while (!closing_row_listed()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (each) each();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

}  // namespace bench
