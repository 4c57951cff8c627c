// The main window at its display's scale. The suite runs this at 96 DPI; tests/CMakeLists.txt runs it once
// more in a Wine prefix set to 144 DPI. Both leave a screenshot in the test output folder.
#include <cstdio>

#include "support/window_driver.h"
#include "ui/draw_button.h"
#include "ui/knob_turn.h"

using namespace test_support;

static int dark_pixels(const capture& shot, RECT area) {
    return shot.count(area, [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128; });
}

static int dark_pixels_of_knob() {
    HBITMAP knob = LoadBitmapW(GetModuleHandleW(nullptr), L"SWCBMP");
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), knob_size, -knob_size, 1, 32, BI_RGB}};
    capture pixels{knob_size, knob_size, std::vector<uint32_t>(knob_size * knob_size)};
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, knob, 0, knob_size, pixels.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(knob);
    return dark_pixels(pixels, {0, 0, knob_size, knob_size});
}

static void save_screenshot(const capture& shot, const std::string& name) {
    char folder[1024] = {};
    if (!GetEnvironmentVariableA("OSTRAND_TEST_OUTPUT", folder, sizeof(folder))) return;
    const DWORD bytes = static_cast<DWORD>(shot.pixels.size() * 4);
    BITMAPINFOHEADER header{sizeof(header), shot.width, -shot.height, 1, 32, BI_RGB};
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(header)) + bytes, 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(header)};
    FILE* out = _wfopen((to_windows_path(folder) + L"\\" + std::wstring(name.begin(), name.end())).c_str(), L"wb");
    ASSERT_TRUE(out);
    fwrite(&file, sizeof(file), 1, out);
    fwrite(&header, sizeof(header), 1, out);
    fwrite(shot.pixels.data(), 1, bytes, out);
    fclose(out);
}

using DisplayScale = twin_window_test;

TEST_F(DisplayScale, TheWholeWindowFollowsItsDisplaysDpi) {
    char expected[8] = "96";
    GetEnvironmentVariableA("OSTRAND_WINE_DPI", expected, sizeof(expected));
    int dpi = static_cast<int>(window_dpi.load());
    ASSERT_EQ(dpi, std::atoi(expected));
    const auto at_scale = [&dpi](int units) { return MulDiv(units, dpi, 96); };
    // The path boxes and the list lie where the scale says, File A and File B share what Percent leaves; moved to a
    // display of another scale (WM_DPICHANGED) and back, the window follows.
    const auto column = [](int index) { return SendMessageW(list_view, LVM_GETCOLUMNWIDTH, index, 0); };
    const auto check_layout = [&] {
        SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
        for (const auto& [control, top] : {std::pair{edit_a, 73}, {list_view, 120}}) {
            RECT place{};
            GetWindowRect(control, &place);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
            EXPECT_EQ(place.top, at_scale(top)) << dpi;
        }
        for (const int wide : {950, 600, width}) {
            SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(wide, height));
            RECT client{};
            GetClientRect(list_view, &client);
            EXPECT_TRUE(column(0) == column(1) && column(2) == at_scale(60)) << wide << " at " << dpi;
            EXPECT_NEAR(column(0) + column(1) + column(2), client.right, 1) << wide << " at " << dpi;
        }
    };
    check_layout();
    RECT frame{};
    GetWindowRect(window, &frame);
    for (const int moved_to : {dpi == 96 ? 144 : 96, dpi}) {
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(moved_to, moved_to), reinterpret_cast<LPARAM>(&frame));
        dpi = moved_to;
        check_layout();
    }
    // Start's face fills its scaled area but for the corners and the text; the knob, its bitmap's share of dark.
    const capture band = print_client(window, width, at_scale(120));
    const int units_wide = MulDiv(width, 96, dpi);
    const RECT face{at_scale(units_wide - 170), at_scale(15), at_scale(units_wide - 70), at_scale(39)};
    const int area = (face.right - face.left) * (face.bottom - face.top);
    EXPECT_GT(band.count(face, button_face), area * 3 / 4);
    const int knob = at_scale(knob_size);
    const int expected_dark = dark_pixels_of_knob() * knob * knob / (knob_size * knob_size);
    EXPECT_NEAR(dark_pixels(band, {at_scale(25), at_scale(15), at_scale(25) + knob, at_scale(15) + knob}),
                expected_dark, expected_dark / 10);
    save_screenshot(print_client(window, width, height, true), "main-window-" + std::to_string(dpi) + "dpi.bmp");
    const auto a = tree.make_file(L"a", "twins"), b = tree.make_file(L"b", "twins");
    SetWindowTextW(edit_a, tree.path().c_str());
    click_at({(face.left + face.right) / 2, (face.top + face.bottom) / 2});
    ASSERT_TRUE(pump_until(run_closed, 60000));
    EXPECT_EQ(read_list_rows()[1], (list_row{a, b, L"100"}));
}
