#include "ui/draw_button.h"

#include "base/dc_scope.h"
#include "base/owner.h"
#include "core/display_scale.h"
#include "core/state.h"
#include "ui/knob_turn.h"

namespace orvkit {

namespace {

void draw_face(HDC dc, int kind, int top, int left, bool hovered, const wchar_t* text) {
    const auto [width, height] = face_size(kind);
    {
        unique_gdi<HBRUSH> brush(CreateSolidBrush(hovered ? button_face_hovered : button_face));
        selected_object face(dc, brush.get());
        RoundRect(dc, left, top, left + width, top + height, 20, 20);
    }
    if (!text) return;
    RECT box{left + 2, top, left + width - 2, top + height};
    DrawTextW(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// PlgBlt would do the turns in one call, but on Wine its mirrors land one pixel off
// and its rotations are ignored; reading the bitmap and writing the turned pixels
// back is exact everywhere. Above 96 DPI the knob is scaled in pixels and placed in
// device units, outside the band's scaling transform, so GDI does not stretch it
// a second time.
void draw_turned_knob(HDC paint_dc, HDC memory_dc, HBITMAP bitmap, int kind, int top, int left) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = knob_size;
    info.bmiHeader.biHeight = -knob_size;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    knob_pixels source{};
    if (GetDIBits(memory_dc, bitmap, 0, knob_size, source.data(), &info, DIB_RGB_COLORS) != knob_size) return;
    const int size = scaled(knob_size);
    const std::vector<uint32_t> pixels = scale_knob(turn_knob(source, kind), size);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    POINT at{left, top};
    LPtoDP(paint_dc, &at, 1);
    const int saved = SaveDC(paint_dc);
    if (GetGraphicsMode(paint_dc) == GM_ADVANCED) ModifyWorldTransform(paint_dc, nullptr, MWT_IDENTITY);
    SetDIBitsToDevice(paint_dc, at.x, at.y, static_cast<DWORD>(size), static_cast<DWORD>(size), 0, 0, 0,
                      static_cast<UINT>(size), pixels.data(), &info, DIB_RGB_COLORS);
    RestoreDC(paint_dc, saved);
}

}  // namespace

int draw_button(const ostrand_state& state, HDC paint_dc, HDC memory_dc, int kind, int top, int left, bool hovered,
                const wchar_t* text) {
    if (kind == 0 || kind == 1) {
        draw_face(paint_dc, kind, top, left, hovered, text);
        return 1;
    }
    HBITMAP bitmap = hovered ? state.bitmap_swh.get() : state.bitmap_swc.get();
    if (!bitmap || kind < 2 || kind > 5) return 1;
    if (kind == 2 && window_dpi == 96) {
        selected_object knob(memory_dc, bitmap);
        BitBlt(paint_dc, left, top, knob_size, knob_size, memory_dc, 0, 0, SRCCOPY);
    } else {
        // GetDIBits wants the bitmap selected into no DC.
        draw_turned_knob(paint_dc, memory_dc, bitmap, kind, top, left);
    }
    return 1;
}

}  // namespace orvkit
