// Drives the real main window the way a user's actions do: pointer moves and
// clicks at the painted buttons, drops, closing; and reads back what it shows.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace test_support {

// Creates the program's main window through its own start-up and gives it a
// client area of `width` x `height`. Returns the window (null on failure).
HWND open_main_window(int width = 700, int height = 360);
// Destroys the window (when it still exists) and dispatches up to its WM_QUIT.
void close_main_window(HWND window);

// A pointer move to (x, y), then the button's release there.
void move_to(HWND window, int x, int y);
void click_at(HWND window, int x, int y);

// Points of the painted buttons for a client width `w`.
struct button_points {
    int w;
    POINT start() const { return {w - 120, 27}; }
    POINT top() const { return {w - 30, 14}; }
    POINT help() const { return {w - 30, 36}; }
    POINT choose_a() const { return {w - 30, 82}; }
    POINT choose_b() const { return {w - 30, 104}; }
    POINT mode_switch() const { return {37, 27}; }
    POINT nowhere() const { return {w / 2, 60}; }
};
void click_at(HWND window, POINT point);

int list_rows();
std::wstring list_cell(int row, int column);
std::vector<std::wstring> column_titles();
std::wstring window_text(HWND window);

// Sends WM_DROPFILES with a drop built like the shell's (DROPFILES + wide names).
void drop_names(HWND window, const std::vector<std::wstring>& names);

// The client area rendered through WM_PRINTCLIENT into a 32-bit memory bitmap.
struct capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down
    COLORREF at(int x, int y) const;
};
capture print_client(HWND window, int width, int height);
// What the screen shows of the client area, child controls included.
capture screen_client(HWND window);

// Answers the next dialog box of this process by pressing `button` (IDOK,
// IDCANCEL...), remembering its text. Hold an expect_dialogs while it may appear.
class dialog_answerer {
public:
    // `before_press` runs on the helper thread with the box once it is up, before the press.
    explicit dialog_answerer(int button, std::function<void(HWND)> before_press = {});
    ~dialog_answerer();
    bool answered() const { return answered_; }
    std::wstring text() const;

private:
    void watch();
    int button_;
    std::function<void(HWND)> before_press_;
    std::atomic<bool> running_{true};
    std::atomic<bool> answered_{false};
    std::wstring text_;
    std::thread thread_;
};

}  // namespace test_support
