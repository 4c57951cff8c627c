// Mirrors the run's progress on the window's taskbar button through the shell's
// taskbar-list object, created by ensure() and at most once per process.
#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <cstdint>
#include <memory>
#include <mutex>

#include "base/com_ptr.h"
#include "shell/com_apartment.h"
#include "core/test_seams.h"

namespace orvkit {

// Makes the taskbar-list object (one reference, or null): the shell's, the default
// of make_taskbar_list.
ITaskbarList3* make_shell_taskbar_list();

class TaskBar {
public:
    TaskBar() = default;
    TaskBar(const TaskBar&) = delete;
    TaskBar& operator=(const TaskBar&) = delete;
    virtual ~TaskBar();

    // Creates the object on the first call. 0 when it is usable, 1 when it could not
    // be had.
    uint32_t ensure();

    // Shows `percent` of 100 on the window's taskbar button; nothing without the object.
    void show_progress(HWND window, int32_t percent);
    // Removes the indicator from the window's taskbar button; nothing without the object.
    void clear_progress(HWND window);

    // The object in use, or null before ensure() and when unavailable.
    ITaskbarList3* list() const { return list_.get(); }

private:
    std::unique_ptr<com_apartment> com_;  // COM on the thread that made the object
    com_ptr<ITaskbarList3> list_;
    uint32_t unavailable_ = 0;
    std::mutex lock_;
};

}  // namespace orvkit
