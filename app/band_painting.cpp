#include "app/band_painting.h"

#include <cwchar>
#include <string>

#include "app/band_controls.h"
#include "app/band_focus.h"
#include "app/window_geometry.h"
#include "base/dc_scope.h"
#include "base/owner.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "search/checksum_pass.h"
#include "ui/draw_button.h"

namespace orvkit {

namespace {

void draw_line(HDC dc, const wchar_t* text, RECT box, UINT flags = DT_SINGLELINE) {
    DrawTextW(dc, text, -1, &box, flags);
}

void draw_captions(HDC dc, uint32_t mode) {
    draw_line(dc, caption_a(mode), {3, 75, 80, 90});
    if (mode_uses_path_b(mode)) draw_line(dc, caption_b(mode), {3, 95, 80, 110});
}

std::wstring status_line(int32_t status) {
    // path_a changes under the worker; it publishes the file it compares as a copy.
    if (status != status_indexing) return shown_path.get();
    const std::wstring checksums = checksum_status_line();  // the pass after the walk
    if (!checksums.empty()) return checksums;
    const std::shared_ptr<orvFileList> list = app_state->scan_list.load();
    if (!list) return {};
    return std::to_wstring(list->record_count.load()) + L" files scanned. Current directory: " +
           list->current_folder.get();
}

void draw_progress(HDC dc, uint32_t w, int32_t status, int32_t percent) {
    const uint32_t right = (w - 175) * static_cast<uint32_t>(percent) / 100;
    RECT bar{3, 5, static_cast<LONG>(right), 20};
    // Wine fills a rectangle whose right edge lies left of its left edge (0..3 at
    // 0%), so an empty bar is not drawn at all.
    if (bar.right > bar.left) {
        unique_gdi<HBRUSH> black(CreateSolidBrush(RGB(0, 0, 0)));
        FillRect(dc, &bar, black.get());
    }
    if (right > 25) {
        wchar_t text[16];
        std::swprintf(text, 16, L"%d%%", percent);
        SetTextColor(dc, RGB(255, 255, 255));
        draw_line(dc, text, bar, DT_CENTER | DT_SINGLELINE);
        SetTextColor(dc, RGB(0, 0, 0));
    }
    if (search_mode != mode_file) {
        const std::wstring line = status_line(status);
        if (!line.empty()) draw_line(dc, line.c_str(), {3, 30, static_cast<LONG>(w) - 175, 50});
    }
}

void draw_mode_labels(HDC dc) {
    draw_line(dc, L"File", {3, 5, 40, 20});
    draw_line(dc, L"Directory", {50, 5, 120, 20});
    draw_line(dc, L"Quick Dir", {50, 35, 120, 50});
    draw_line(dc, L"QDir+", {3, 35, 40, 50});
}

// Backwards through the table: where two faces meet in a narrow band, the one the
// pointer finds first lies on top.
void draw_buttons(HDC dc, uint32_t w, uint32_t mode, int32_t status) {
    memory_dc knob_source(dc);
    const std::span<const band_entry> table = band_table();
    for (auto entry = table.rbegin(); entry != table.rend(); ++entry) {
        if (!band_shown(*entry, mode, status)) continue;
        const RECT face = band_face(*entry, w);
        const bool knob = entry->face.kind == face_kind::knob;
        const int kind = static_cast<int>(entry->face.kind) + (knob ? static_cast<int>(mode) : 0);
        draw_button(*app_state, dc, knob_source.get(), kind, face.top, face.left, *entry->hover != 0,
                    knob ? nullptr : entry->name());
    }
}

// A dotted frame around the control that has the keyboard focus.
void draw_focus_mark(HDC dc, uint32_t w) {
    const band_control control = marked_band_control();
    if (control == band_control::none) return;
    const RECT mark = focus_mark_rect(band_control_face(control, w));
    unique_gdi<HPEN> dots(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    selected_object pen(dc, dots.get());
    selected_object no_fill(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, mark.left, mark.top, mark.right, mark.bottom);
}

// Above 96 DPI the band is drawn in its 96 DPI units through a scaling transform:
// lines, faces and text come out at the display's size, drawn at it, not stretched.
void scale_to_window(HDC dc) {
    const uint32_t dpi = window_dpi;
    if (dpi == 96) return;
    SetGraphicsMode(dc, GM_ADVANCED);
    const float zoom = static_cast<float>(dpi) / 96.0f;
    const XFORM scale{zoom, 0, 0, zoom, 0, 0};
    SetWorldTransform(dc, &scale);
}

// Everything the paint changes besides pixels, in one step before drawing: while a
// worker runs the taskbar shows the progress and a percentage above 101 is kept as
// 99; after a run, its 101 (progress_finished) becomes 100 and the taskbar's
// indicator is cleared. A value a worker wrote meanwhile wins over either. Returns
// the percentage to draw.
int32_t settle_progress(HWND window, int32_t status) {
    int32_t percent = progress_percent;
    if (!worker_running(status)) {
        if (percent == progress_finished) {
            app_state->taskbar.clear_progress(window);
            progress_percent.compare_exchange_strong(percent, 100);
        }
        return 0;
    }
    app_state->taskbar.show_progress(window, percent);
    if (percent > progress_finished) {
        progress_percent.compare_exchange_strong(percent, 99);
        percent = 99;
    }
    return percent < 0 ? 0 : percent;
}

}  // namespace

void paint_band(HWND window, HDC dc) {
    const uint32_t w = band_width();
    if (w <= 200 || !app_state) return;
    const uint32_t mode = search_mode;
    const int32_t status = run_status;
    const int32_t percent = settle_progress(window, status);
    const int saved = SaveDC(dc);
    scale_to_window(dc);

    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SelectObject(dc, app_state->small_font.get());

    draw_captions(dc, mode);
    if (worker_running(status))
        draw_progress(dc, w, status, percent);
    else
        draw_mode_labels(dc);
    draw_buttons(dc, w, mode, status);
    draw_focus_mark(dc, w);
    RestoreDC(dc, saved);
}

LRESULT on_paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    paint_band(window, dc);
    EndPaint(window, &paint);
    return 1;
}

LRESULT on_print_client(HWND window, HDC dc, LPARAM flags) {
    if (flags & PRF_ERASEBKGND) {
        RECT client{0, 0, static_cast<LONG>(client_width.load()), static_cast<LONG>(client_height.load())};
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    }
    paint_band(window, dc);
    return 0;
}

}  // namespace orvkit
