#include "support/window_driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <chrono>

#include "app/globals.h"
#include "app/startup.h"
#include "app/state.h"
#include "support/pump.h"

namespace test_support {

HWND open_main_window(int width, int height) {
    if (orvkit::initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL) != 0) return nullptr;
    HWND window = app_state->main_window;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
    // Whatever size the system granted, the window works with the one asked for.
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    pump_for(50);
    return window;
}

void close_main_window(HWND window) {
    if (!IsWindow(window)) return;  // the test saw it close
    DestroyWindow(window);
    MSG message;
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (GetTickCount64() < deadline) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            DispatchMessageW(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
}

void move_to(HWND window, int x, int y) { SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

void click_at(HWND window, int x, int y) {
    move_to(window, x, y);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void click_at(HWND window, POINT point) { click_at(window, point.x, point.y); }

int list_rows() { return static_cast<int>(SendMessageW(list_view, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring list_cell(int row, int column) {
    wchar_t text[1200] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1200;
    SendMessageW(list_view, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::wstring> column_titles() {
    std::vector<std::wstring> titles;
    for (int i = 0;; ++i) {
        wchar_t text[100] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 100;
        if (!SendMessageW(list_view, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column))) break;
        titles.push_back(text);
    }
    return titles;
}

std::wstring window_text(HWND window) {
    wchar_t text[1200] = {};
    GetWindowTextW(window, text, 1200);
    return text;
}

void drop_names(HWND window, const std::vector<std::wstring>& names) {
    std::size_t units = 1;
    for (const std::wstring& name : names) units += name.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* cursor = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const std::wstring& name : names) {
        std::copy(name.begin(), name.end(), cursor);
        cursor += name.size() + 1;
    }
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

COLORREF capture::at(int x, int y) const {
    const uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

namespace {

capture capture_into(int width, int height, HDC source, bool print, HWND window) {
    capture shot{width, height, {}};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (print)
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    else
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    shot.pixels.assign(p, p + static_cast<std::size_t>(width) * height);
    for (uint32_t& pixel : shot.pixels) pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return shot;
}

}  // namespace

capture print_client(HWND window, int width, int height) {
    HDC screen = GetDC(nullptr);
    capture shot = capture_into(width, height, screen, true, window);
    ReleaseDC(nullptr, screen);
    return shot;
}

capture screen_client(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump_for(100);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    capture shot = capture_into(client.right, client.bottom, dc, false, window);
    ReleaseDC(window, dc);
    return shot;
}

namespace {

BOOL CALLBACK collect_text(HWND child, LPARAM text) {
    wchar_t buffer[512] = {};
    GetWindowTextW(child, buffer, 512);
    if (buffer[0]) *reinterpret_cast<std::wstring*>(text) += std::wstring(buffer) + L"|";
    return TRUE;
}

struct dialog_search {
    HWND found = nullptr;
};

BOOL CALLBACK find_dialog(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, 32);
    if (process == GetCurrentProcessId() && std::wstring(class_name) == L"#32770" && IsWindowVisible(window)) {
        reinterpret_cast<dialog_search*>(param)->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

dialog_answerer::dialog_answerer(int button, std::function<void(HWND)> before_press)
    : button_(button), before_press_(std::move(before_press)), thread_([this] { watch(); }) {}

dialog_answerer::~dialog_answerer() {
    running_ = false;
    thread_.join();
}

std::wstring dialog_answerer::text() const { return answered_ ? text_ : std::wstring(); }

void dialog_answerer::watch() {
    while (running_ && !answered_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        dialog_search search;
        EnumWindows(find_dialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found) continue;
        wchar_t caption[200] = {};
        GetWindowTextW(search.found, caption, 200);
        text_ = std::wstring(caption) + L"|";
        EnumChildWindows(search.found, collect_text, reinterpret_cast<LPARAM>(&text_));
        if (before_press_) before_press_(search.found);
        PostMessageW(search.found, WM_COMMAND, button_, 0);
        answered_ = true;
    }
}

}  // namespace test_support
