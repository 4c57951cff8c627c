// Mirrors the run's progress on the window's taskbar button through the shell's
// taskbar-list object, created on first use and at most once per process.
#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <cstdint>
#include <mutex>

namespace orvkit {

class TaskBar {
public:
    TaskBar() = default;
    TaskBar(const TaskBar&) = delete;
    TaskBar& operator=(const TaskBar&) = delete;
    virtual ~TaskBar();

    // 0 when `list` is usable, 1 when the taskbar object could not be had.
    uint32_t ensure();

    // Shows `percent` of 100 on the window's taskbar button; nothing when unavailable.
    void show_progress(HWND window, int32_t percent);
    // Removes the indicator from the window's taskbar button; nothing when unavailable.
    void clear_progress(HWND window);

    ITaskbarList3* list = nullptr;
    uint32_t unavailable = 0;

private:
    std::mutex lock_;
};

}  // namespace orvkit
