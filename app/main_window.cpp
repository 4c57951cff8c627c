#include "app/main_window.h"

#include <commctrl.h>

#include "app/globals.h"
#include "app/state.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

constexpr DWORD edit_style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD list_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_NOSORTHEADER;
constexpr DWORD list_extended_style = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;

HWND make_edit(HWND window, int y) {
    HWND edit = CreateWindowExW(0, L"Edit", nullptr, edit_style, 82, y, 200, 20, window, nullptr,
                                app_state->instance, nullptr);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(app_state->small_font), TRUE);
    return edit;
}

LRESULT on_create(HWND window) {
    edit_a = make_edit(window, 53);
    edit_b = make_edit(window, 75);
    list_view = CreateWindowExW(0, WC_LISTVIEWW, nullptr, list_style, 82, 100, 200, 200, window, nullptr,
                                app_state->instance, nullptr);
    SendMessageW(list_view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, list_extended_style);
    set_list_columns(window);
    return 1;
}

LRESULT on_size(LPARAM lparam) {
    const uint32_t w = LOWORD(lparam);
    const uint32_t h = HIWORD(lparam);
    client_width = w;
    client_height = h;
    MoveWindow(edit_a, 82, 73, static_cast<int>(w) - 142, 20, FALSE);
    MoveWindow(edit_b, 82, 95, static_cast<int>(w) - 142, 20, FALSE);
    MoveWindow(list_view, 1, 120, static_cast<int>(w) - 2, h > 120 ? static_cast<int>(h) - 120 : 0, FALSE);
    return 1;
}

}  // namespace

void register_main_window_class() {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNWINDOW;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = app_state->instance;
    window_class.hIcon = app_state->large_icon;
    window_class.hIconSm = app_state->small_icon;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = window_class_name;
    RegisterClassExW(&window_class);
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: return on_create(window);
    case WM_SIZE: return on_size(lparam);
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace orvkit
