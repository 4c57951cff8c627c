#include "core/taskbar.h"

namespace orvkit {

ITaskbarList3* make_shell_taskbar_list() {
    void* created = nullptr;
    CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &created);
    return static_cast<ITaskbarList3*>(created);
}

taskbar_list_maker make_taskbar_list = make_shell_taskbar_list;

// COM lasts exactly as long as the object.
TaskBar::~TaskBar() {
    list_.reset();
    com_.reset();
}

// Creates the object once; a failure is remembered and never retried.
uint32_t TaskBar::ensure() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!list_ && !unavailable_) {
        com_ = std::make_unique<com_apartment>();
        list_.reset(make_taskbar_list());
        if (!list_) {
            com_.reset();
            unavailable_ = 1;
        }
    }
    return unavailable_;
}

// Neither makes the object: the paint calls them, and a paint, which any DC may ask
// for, must not start COM.
void TaskBar::show_progress(HWND window, int32_t percent) {
    if (list_) list_->SetProgressValue(window, static_cast<ULONGLONG>(percent < 0 ? 0 : percent), 100);
}

void TaskBar::clear_progress(HWND window) {
    if (list_) list_->SetProgressState(window, TBPF_NOPROGRESS);
}

}  // namespace orvkit
