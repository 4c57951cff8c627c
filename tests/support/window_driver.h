// Drives the real main window the way a user's actions do (pointer moves, clicks
// at the painted buttons, drops, closing) and reads back what it shows.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <fstream>

#include "app/startup.h"
#include "app/worker_start.h"
#include "core/globals.h"
#include "core/state.h"
#include "support/list_rows.h"
#include "support/pump.h"
#include "support/temp_folder.h"

namespace test_support {

inline std::vector<std::wstring> column_titles() {
    std::vector<std::wstring> titles;
    wchar_t text[100];
    LVCOLUMNW column{LVCF_TEXT, 0, 0, text, 100};
    for (int i = 0; SendMessageW(list_view, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)); ++i)
        titles.push_back(text);
    return titles;
}

inline std::wstring window_text(HWND window) {
    std::wstring text(1300, L'\0');
    return text.substr(0, GetWindowTextW(window, text.data(), 1300));
}

// A drop of `names` built as the shell builds one.
inline void drop_names(HWND window, const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names) list += name + L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    *drop = {sizeof(DROPFILES), {}, FALSE, TRUE};
    list.copy(reinterpret_cast<wchar_t*>(drop + 1), list.size());
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// The client area, 0x00RRGGBB top-down (the top byte ignored).
struct capture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    COLORREF at(int x, int y) const { const uint32_t p = pixels[y * width + x]; return RGB(p >> 16, p >> 8, p); }
    int count(RECT area, COLORREF colour) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += at(x, y) == colour;
        return n;
    }
};

// Through WM_PRINTCLIENT (the band alone), or as the screen shows it, child controls included.
inline capture print_client(HWND window, int width, int height, bool screen = false) {
    if (screen && RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW))
        pump_for(100);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}};
    void* bits = nullptr;
    HDC source = GetDC(window), memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    screen ? BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY)
           : SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    capture shot{width, height, {p, p + width * height}};
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory), ReleaseDC(window, source);
    return shot;
}

// Writes the capture into $OSTRAND_TEST_OUTPUT as a PNG file: 8-bit RGB rows,
// unfiltered, in zlib "stored" (uncompressed) blocks. False when unset or failed.
inline bool save_png(const std::wstring& file_name, const capture& shot) {
    char folder[1024] = {};
    if (!GetEnvironmentVariableA("OSTRAND_TEST_OUTPUT", folder, sizeof(folder))) return false;
    auto u32 = [](uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    auto chunk = [&](const std::string& type_and_data) {  // with its length and CRC-32
        uint32_t crc = ~0u;
        for (unsigned char byte : type_and_data)
            for (int bit = 0; bit < 8; ++bit, byte >>= 1) crc = (crc ^ byte) & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        return u32(type_and_data.size() - 4) + type_and_data + u32(~crc);
    };
    std::string raw, idat = "IDAT\x78\x01";
    for (std::size_t i = 0; i < shot.pixels.size(); ++i)  // each row starts with its filter, none
        raw += (i % shot.width ? "" : std::string(1, '\0')) + u32(shot.pixels[i]).substr(1);
    for (std::size_t at = 0, n; at < raw.size(); at += n) {  // blocks: last or not, LEN, NLEN, the bytes
        n = std::min<std::size_t>(65535, raw.size() - at);
        idat += std::string{char(at + n == raw.size()), char(n), char(n >> 8), char(~n), char(~n >> 8)};
        idat += raw.substr(at, n);
    }
    uint32_t a = 1, b = 0;  // Adler-32
    for (unsigned char byte : raw) b = (b + (a = (a + byte) % 65521)) % 65521;
    const std::string header = "IHDR" + u32(shot.width) + u32(shot.height) + std::string("\x08\x02\0\0\0", 5);
    const std::string png = "\x89PNG\r\n\x1a\n" + chunk(header) + chunk(idat + u32(b << 16 | a)) + chunk("IEND");
    std::ofstream file((to_windows_path(folder) + L"\\" + file_name).c_str(), std::ios::binary);
    return static_cast<bool>(file.write(png.data(), png.size()));
}

// Worker stand-ins: not a thread (the "run" lasts until the test ends it), or none, as when CreateThread fails.
inline HANDLE no_worker(LPTHREAD_START_ROUTINE, HWND) { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }
inline HANDLE failed_worker(LPTHREAD_START_ROUTINE, HWND) { return nullptr; }

// The real main window, made by the program's own start-up, with a 700 x 360 client area.
class main_window_test : public ::testing::Test {
protected:
    static constexpr int width = 700, height = 360;
    void SetUp() override {
        ASSERT_EQ(orvkit::initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
        window = app_state->main_window;
        RECT frame{0, 0, width, height};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
        // Whatever size the system granted, the window works with the one asked for.
        SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
        pump_for(50);
    }
    void TearDown() override { DestroyWindow(window); }  // each test runs in a process of its own
    void move_to(POINT p) { SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    void release_at(POINT p) { SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); }
    void click_at(POINT p) { move_to(p), release_at(p); }
    HWND window = nullptr;
    const POINT start{width - 120, 27}, top{width - 30, 14}, mode_switch{37, 27};
};

}  // namespace test_support
