// Presses No (or Cancel) on any dialog of this process that appears while no test
// said it expects one, logs its text, and counts it so the run fails.
#pragma once
#include <atomic>
#include <thread>

namespace test_support {

class dialog_watchdog {
public:
    dialog_watchdog();
    ~dialog_watchdog();
    // Stops watching; returns how many unexpected dialogs were closed.
    int stop();

private:
    void watch();
    std::atomic<bool> running_{true};
    std::atomic<int> closed_{0};
    std::thread thread_;
};

// While one of these lives, dialogs are the test's own business.
class expect_dialogs {
public:
    expect_dialogs();
    ~expect_dialogs();
};

}  // namespace test_support
