// Drives the real main window as a user does (pointer moves, clicks, drops) and reads
// back what it shows: the results list, pixels, rows of twins.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/keyboard.h"
#include "app/run_control.h"
#include "app/startup.h"
#include "app/worker_start.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "support/temp_folder.h"
#include "ui/results_list.h"

namespace test_support {

inline bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 20000) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!done()) {
        if (GetTickCount64() > deadline) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) orvkit::handle_message(message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

inline void pump_for(DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    pump_until([&] { return GetTickCount64() > deadline; }, ms + 1000);
}

// The results list read back by message, as another program would.
using list_row = std::array<std::wstring, 3>;

inline int list_row_count() { return static_cast<int>(SendMessageW(list_view, LVM_GETITEMCOUNT, 0, 0)); }

inline std::wstring list_cell(int row, int column) {
    wchar_t text[1200] = {};
    LVITEMW item{.iSubItem = column, .pszText = text, .cchTextMax = 1200};
    SendMessageW(list_view, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

inline std::wstring row_text(int row) { return list_cell(row, 0) + L"|" + list_cell(row, 1) + L"|" + list_cell(row, 2); }

inline std::vector<list_row> read_list_rows() {
    std::vector<list_row> rows;
    for (int row = 0; row < list_row_count(); ++row)
        rows.push_back({list_cell(row, 0), list_cell(row, 1), list_cell(row, 2)});
    return rows;
}

inline std::vector<std::wstring> column_titles() {
    std::vector<std::wstring> titles;
    wchar_t text[100];
    LVCOLUMNW column{LVCF_TEXT, 0, 0, text, 100};
    for (int i = 0; SendMessageW(list_view, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)); ++i)
        titles.push_back(text);
    return titles;
}

// Room for the text as long as it is now and 1,300 more: another thread may change it between the calls.
inline std::wstring window_text(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1300, L'\0');
    return text.substr(0, GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
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
    // The pixels of `area` of that colour, or for which `is` holds.
    int count(RECT area, COLORREF colour) const { return count(area, [&](COLORREF c) { return c == colour; }); }
    int count(RECT area, const std::function<bool(COLORREF)>& is) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += is(at(x, y));
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

// What a screen reader reads through the system's accessibility interface: the name of `control`, or of its
// child `child`, with " (unavailable)" when it cannot be used now; `also` is then called with the object.
inline std::wstring accessible_name(HWND control, long child = CHILDID_SELF,
                                    const std::function<void(IAccessible*, VARIANT)>& also = nullptr) {
    // IID_IAccessible, spelled out: mingw's uuid and oleacc libraries both define it.
    const IID accessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    const auto from_window = reinterpret_cast<HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
    IAccessible* object = nullptr;
    if (!from_window || from_window(control, OBJID_CLIENT, accessible, reinterpret_cast<void**>(&object)) != S_OK)
        return L"(no accessible object)";
    VARIANT id{.vt = VT_I4};
    id.lVal = child;
    BSTR name = nullptr;
    object->get_accName(id, &name);
    VARIANT state{};
    object->get_accState(id, &state);
    std::wstring text = name ? name : L"";
    if (state.lVal & STATE_SYSTEM_UNAVAILABLE) text += L" (unavailable)";
    if (also) also(object, id);
    SysFreeString(name);
    object->Release();
    return text;
}

inline int tool_count() { return static_cast<int>(SendMessageW(app_state->tooltip, TTM_GETTOOLCOUNT, 0, 0)); }

// A worker stand-in that is no thread: the "run" lasts until the test ends it.
inline HANDLE no_worker(LPTHREAD_START_ROUTINE, HWND) { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

// The real worker, paused as it starts: it holds at the start of its walk, or in File mode after the Start row.
inline HANDLE paused_worker(LPTHREAD_START_ROUTINE routine, HWND window) {
    orvkit::toggle_pause();
    return orvkit::create_worker_thread(routine, window);
}

// The real main window, made by the program's own start-up, with a 700 x 360 client area.
struct main_window_test : ::testing::Test {
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
    capture band(int w = width) const { return print_client(window, w, 120); }
    void move_to(POINT p) { SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    void release_at(POINT p) { SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); }
    void click_at(POINT p) { move_to(p), release_at(p); }
    // A search, or in File mode a comparison, started with the Start click.
    void begin_search(uint32_t mode, const std::wstring& a, const std::wstring& b = {}) {
        search_mode = mode;
        SetWindowTextW(edit_a, a.c_str());
        SetWindowTextW(edit_b, b.c_str());
        click_at(start);
    }
    // The worker has ended, whatever its closing row.
    static bool run_ended() { return run_status == orvkit::status_idle && progress_percent >= 100; }
    HWND window = nullptr;
    const POINT start{width - 120, 27}, top{width - 30, 14}, mode_switch{37, 27};
    temp_folder tree;  // the test's own files
};

inline void add_row(const std::wstring& a, const std::wstring& b, const std::wstring& percent) {
    const int row = list_row_count();
    orvkit::list_insert_row(row, a.c_str());
    orvkit::list_set_cell(row, 1, b.c_str());
    orvkit::list_set_cell(row, 2, percent.c_str());
}

// Gives `row` the list's focus; -1 takes it from every row.
inline void focus_row(int row) {
    LVITEMW state{.stateMask = LVIS_FOCUSED};
    SendMessageW(list_view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_FOCUSED;
    if (row >= 0) SendMessageW(list_view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

// $XDG_DATA_HOME/Trash/files as a Windows path; empty outside scripts/test.sh.
inline std::wstring trash_folder() {
    char xdg[1024] = {};
    if (!GetEnvironmentVariableA("XDG_DATA_HOME", xdg, sizeof(xdg))) return {};
    return to_windows_path(xdg) + L"\\Trash\\files";
}

inline bool in_trash(const std::wstring& path) { return exists(trash_folder() + L"\\" + file_name(path)); }

// The real main window, idle in Quick Dir with an empty list, its data in a folder of the test's own.
struct twin_window_test : main_window_test {
    void SetUp() override {
        main_window_test::SetUp();
        ASSERT_FALSE(trash_folder().empty()) << "run through scripts/test.sh: the recycle bin must be redirected";
        app_state->data_path = data_.path() + L"\\";
        search_mode = 2;
        orvkit::list_clear();
    }
    // A search started with the Start click, until its closing row.
    void search(uint32_t mode, const std::wstring& folder, const std::wstring& second = {}) {
        begin_search(mode, folder, second);
        ASSERT_TRUE(pump_until(run_closed, 60000));
    }
    static bool run_closed() {
        const int rows = list_row_count();
        return run_status == orvkit::status_idle && rows > 1 && list_cell(rows - 1, 0) == L"Finished";
    }
    temp_folder data_;
};

}  // namespace test_support
