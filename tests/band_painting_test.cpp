// The painted band of the main window, rendered through WM_PRINTCLIENT into a
// memory bitmap and read pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/state.h"
#include "support/png_writer.h"
#include "support/pump.h"
#include "support/window_fixture.h"
#include "ui/results_list.h"

using namespace test_support;

namespace {

constexpr COLORREF face = RGB(213, 215, 183);
constexpr COLORREF face_hovered = RGB(229, 231, 199);
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);

class BandPainting : public main_window_test {
protected:
    capture band() { return print_client(window, band_width, 120); }
    void resize(int w) {
        band_width = w;
        SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w, height));
    }
    void pretend_running(int32_t percent) {
        run_status = 201;
        pause_code = 0;
        progress_percent = percent;
    }
    int band_width = width;
    const COLORREF background = GetSysColor(COLOR_WINDOW);
};

// The knob bitmap as loaded by the program, 0x00RRGGBB, rows top-down.
std::vector<uint32_t> knob_bitmap(HBITMAP bitmap) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 24;
    info.bmiHeader.biHeight = -24;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(24 * 24);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, 24, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

COLORREF as_colorref(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

int count_colour(const capture& shot, RECT area, COLORREF colour) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += shot.at(x, y) == colour;
    return n;
}

}  // namespace

TEST_F(BandPainting, StartButtonHasItsFaceAndLightsUpWhenHovered) {
    const int left = width - 170;
    EXPECT_EQ(band().at(left + 10, 27), face);
    EXPECT_EQ(band().at(width - 58 + 5, 14), face) << "About";
    move_to(window, at.start().x, at.start().y);
    const capture hovered = band();
    EXPECT_EQ(hovered.at(left + 10, 27), face_hovered);
    EXPECT_EQ(hovered.at(left + 90, 27), face_hovered);
    EXPECT_EQ(hovered.at(width - 58 + 5, 14), face) << "only the hovered button lights";
    EXPECT_EQ(hovered.at(left - 2, 27), background) << "the face ends at the outline";
    EXPECT_EQ(hovered.at(left, 27), black) << "outline";
}

TEST_F(BandPainting, KnobPointsAtTheLabelOfEachMode) {
    const std::vector<uint32_t> source = knob_bitmap(app_state->bitmap_swc);
    for (uint32_t mode = 0; mode < 4; ++mode) {
        search_mode = mode;
        const capture shot = band();
        int mismatches = 0;
        int wedge[2][2] = {};  // black pixels per quadrant [bottom][right], rim excluded
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                // Directory mirrors left to right, QDir+ top to bottom, Quick Dir both.
                const int sx = mode == 1 || mode == 2 ? 23 - x : x;
                const int sy = mode == 2 || mode == 3 ? 23 - y : y;
                const COLORREF painted = shot.at(25 + x, 15 + y);
                mismatches += painted != as_colorref(source[sy * 24 + sx]);
                const int dx = 2 * x - 23, dy = 2 * y - 23;
                if (painted == black && dx * dx + dy * dy < 17 * 17) ++wedge[y >= 12][x >= 12];
            }
        }
        EXPECT_EQ(mismatches, 0) << "mode " << mode;
        // The wedge's broad end lies opposite the tip, which points at the mode's label.
        const int broad_bottom = mode == 0 || mode == 1 ? 1 : 0;
        const int broad_right = mode == 0 || mode == 3 ? 1 : 0;
        for (int b = 0; b < 2; ++b)
            for (int r = 0; r < 2; ++r)
                if (b != broad_bottom || r != broad_right)
                    EXPECT_GT(wedge[broad_bottom][broad_right], wedge[b][r]) << "mode " << mode;
    }
}

TEST_F(BandPainting, HoveredKnobShowsTheLighterBitmap) {
    EXPECT_EQ(band().at(25, 15), RGB(197, 199, 167));
    move_to(window, at.mode_switch().x, at.mode_switch().y);
    EXPECT_EQ(band().at(25, 15), RGB(213, 215, 183));
    EXPECT_EQ(band().at(48, 38), RGB(213, 215, 183));
}

TEST_F(BandPainting, ProgressBarEndsAtItsShareOfTheBand) {
    for (int percent : {10, 50, 100}) {
        pretend_running(percent);
        const capture shot = band();
        const int right = (width - 175) * percent / 100;
        for (int y = 5; y < 20; ++y) {
            EXPECT_EQ(shot.at(3, y), black) << percent << "% y " << y;
            EXPECT_EQ(shot.at(right - 1, y), black) << percent << "% y " << y;
            EXPECT_NE(shot.at(right, y), black) << percent << "% y " << y;
            EXPECT_NE(shot.at(2, y), black) << percent << "% y " << y;
        }
    }
    pretend_running(0);
    const capture empty = band();
    EXPECT_EQ(count_colour(empty, {0, 5, width - 175, 20}, black), 0) << "no bar at 0%";
}

TEST_F(BandPainting, PercentageIsDrawnOnlyOnceTheBarPassesX25) {
    resize(675);  // 500 pixels of bar at 100%
    pretend_running(5);
    const capture at_25 = band();
    EXPECT_EQ(count_colour(at_25, {3, 5, 25, 20}, black), 22 * 15) << "a plain black bar up to x 25";
    EXPECT_EQ(count_colour(at_25, {3, 5, 25, 20}, white), 0) << "no percentage yet";

    pretend_running(6);
    const capture at_30 = band();
    EXPECT_GT(count_colour(at_30, {3, 5, 30, 20}, white), 5) << "white text on the bar";
}

TEST_F(BandPainting, OverlargePercentageIsShownAndKeptAs99) {
    pretend_running(150);
    const capture shot = band();
    EXPECT_EQ(progress_percent.load(), 99);
    const int right = (width - 175) * 99 / 100;
    EXPECT_EQ(shot.at(right - 1, 6), black);
    EXPECT_NE(shot.at(right, 6), black);
}

TEST_F(BandPainting, RunningBandHidesTheSwitchAndShowsAbort) {
    pretend_running(30);
    const capture shot = band();
    EXPECT_EQ(count_colour(shot, {25, 21, 49, 39}, background), 24 * 18) << "no knob while a worker runs";
    EXPECT_EQ(shot.at(width - 170 + 10, 27), face) << "the large button stays";
}

TEST_F(BandPainting, StatusLineFollowsThePhaseOfTheSearch) {
    const RECT line{3, 30, width - 175, 50};
    auto drawn = [&] { return (line.right - line.left) * 20 - count_colour(band(), line, background); };
    pretend_running(10);
    EXPECT_EQ(drawn(), 0) << "nothing compared yet";
    shown_path.set(L"C:\\Photos\\beach.jpg");
    EXPECT_GT(drawn(), 20) << "the file being compared";

    run_status = 200;
    EXPECT_EQ(drawn(), 0) << "indexing without a list shows nothing";
    auto list = std::make_shared<orvkit::orvFileList>(0);
    list->record_count = 1234;
    list->current_folder.set(L"C:\\Photos\\2024");
    std::atomic_store(&app_state->scan_list, list);
    const int indexing = drawn();
    EXPECT_GT(indexing, 100) << "count, text and folder";

    search_mode = 0;
    EXPECT_EQ(drawn(), 0) << "File mode has no status line";
}

TEST_F(BandPainting, BandIsBlankAtWidth200AndPaintedAt201) {
    resize(200);
    const capture blank = band();
    EXPECT_EQ(count_colour(blank, {0, 0, 200, 120}, background), 200 * 120);
    resize(201);
    const capture painted = band();
    EXPECT_GT(200 * 120 - count_colour(painted, {0, 0, 200, 120}, background), 500);
}

TEST_F(BandPainting, ScreenshotsOfTheIdleAndRunningWindow) {
    SetWindowTextW(edit_a, L"C:\\Users\\j.smith\\Photos");
    const capture idle = screen_client(window);
    const std::wstring idle_file = save_png(L"main_window_idle.png", idle.width, idle.height, idle.pixels);

    search_mode = 3;
    orvkit::set_list_columns(window);
    SetWindowTextW(edit_b, L"D:\\Backup\\Photos");
    orvkit::list_insert_row(0, L"Start");
    orvkit::list_set_cell(0, 1, L"120 files found");
    orvkit::list_insert_row(1, L"C:\\Users\\j.smith\\Photos\\beach.jpg");
    orvkit::list_set_cell(1, 1, L"D:\\Backup\\Photos\\beach.jpg");
    orvkit::list_set_cell(1, 2, L"100");
    shown_path.set(L"C:\\Users\\j.smith\\Photos\\harbour.jpg");
    pretend_running(42);
    pause_code = 5;
    const capture running = screen_client(window);
    const std::wstring running_file =
        save_png(L"main_window_running.png", running.width, running.height, running.pixels);

    char output[8] = {};
    if (GetEnvironmentVariableA("OSTRAND_TEST_OUTPUT", output, sizeof(output))) {
        EXPECT_FALSE(idle_file.empty());
        EXPECT_FALSE(running_file.empty());
    }
    // What the screen shows is the band as painted.
    EXPECT_EQ(idle.at(width - 170 + 10, 27), face);
    EXPECT_EQ(running.at((width - 175) * 42 / 100 - 1, 6), black);
}

TEST(PngWriter, ChecksumsMatchTheirReferenceValues) {
    const std::string digits = "123456789";
    EXPECT_EQ(crc32(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
    const std::string word = "Wikipedia";
    EXPECT_EQ(adler32(reinterpret_cast<const uint8_t*>(word.data()), word.size()), 0x11E60398u);
    const std::vector<uint8_t> png = encode_png(300, 300, std::vector<uint32_t>(300 * 300, 0x123456));
    ASSERT_GT(png.size(), 300u * 300 * 3);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
}
