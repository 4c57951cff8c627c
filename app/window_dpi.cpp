#include "app/window_dpi.h"

#include <commctrl.h>

#include "base/owner.h"
#include "core/display_scale.h"
#include "core/globals.h"
#include "core/state.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

// The DPI the system fonts are made for (the primary display's at sign-in).
uint32_t system_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<uint32_t>(dpi) : 96;
}

// `font`'s face at `height` (a LOGFONT height: negative for the character height).
HFONT resized(HGDIOBJ font, int height) {
    LOGFONTW face{};
    GetObjectW(font, sizeof(face), &face);
    face.lfHeight = height;
    return CreateFontIndirectW(&face);
}

}  // namespace

uint32_t dpi_of_window(HWND window) {
    // Windows 10 1607 and later; older systems have one DPI for every display.
    using dpi_query = UINT(WINAPI*)(HWND);
    const auto query = reinterpret_cast<dpi_query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = query ? query(window) : 0;
    return dpi ? dpi : system_dpi();
}

void apply_window_dpi(uint32_t dpi) {
    window_dpi = dpi;
    ostrand_state& state = *app_state;
    // At 96 DPI the path boxes keep the font they always had; the list keeps the
    // control's own font while the window is at the system's DPI.
    state.path_box_font.reset(dpi == 96 ? nullptr : resized(state.small_font.get(), scaled(15)));
    HFONT path_font = dpi == 96 ? state.small_font.get() : state.path_box_font.get();
    for (HWND edit : {edit_a, edit_b}) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(path_font), TRUE);
    const uint32_t system = system_dpi();
    if (dpi != system) {
        LOGFONTW face{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
        state.list_font.reset(resized(GetStockObject(DEFAULT_GUI_FONT),
                                      MulDiv(face.lfHeight, static_cast<int>(dpi), static_cast<int>(system))));
        SendMessageW(list_view, WM_SETFONT, reinterpret_cast<WPARAM>(state.list_font.get()), TRUE);
    } else if (state.list_font) {
        SendMessageW(list_view, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        state.list_font.reset();
    }
    fit_list_columns();
}

LRESULT on_dpi_changed(HWND window, WPARAM dpis, LPARAM suggested) {
    apply_window_dpi(HIWORD(dpis));
    const RECT* place = reinterpret_cast<const RECT*>(suggested);
    SetWindowPos(window, nullptr, place->left, place->top, place->right - place->left, place->bottom - place->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
    return 0;
}

}  // namespace orvkit
