// Runs the tests with a watchdog that closes and counts any message box or dialog that appears while no
// test expects one, and fails the run for it, instead of letting it hang the suite.
#include <gtest/gtest.h>

#include "support/dialogs.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::atomic<bool> running{true};
    int closed = 0;
    std::thread watchdog([&] {
        while (running) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            if (test_support::expected_dialogs > 0) continue;
            for (HWND box : test_support::visible_dialogs()) {
                std::fwprintf(stderr, L"Unexpected dialog closed by the watchdog: %ls\n",
                              test_support::dialog_texts(box).c_str());
                PostMessageW(box, WM_COMMAND, IDNO, 0);
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                ++closed;
            }
        }
    });
    const int result = RUN_ALL_TESTS();
    running = false;
    watchdog.join();
    return closed > 0 ? 1 : result;
}
