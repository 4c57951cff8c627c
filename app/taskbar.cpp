#include "app/taskbar.h"

namespace orvkit {

TaskBar::~TaskBar() {
    if (list) {
        list->Release();
        CoUninitialize();
    }
}

// Creates the object once; a failure is remembered and never retried, and the COM
// initialisation lasts exactly as long as the object.
uint32_t TaskBar::ensure() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!list && !unavailable) {
        CoInitialize(nullptr);
        void* created = nullptr;
        CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &created);
        list = static_cast<ITaskbarList3*>(created);
        if (!list) {
            CoUninitialize();
            unavailable = 1;
        }
    }
    return unavailable;
}

void TaskBar::show_progress(HWND window, int32_t percent) {
    if (ensure() == 0) list->SetProgressValue(window, static_cast<ULONGLONG>(percent < 0 ? 0 : percent), 100);
}

void TaskBar::clear_progress(HWND window) {
    if (ensure() == 0) list->SetProgressState(window, TBPF_NOPROGRESS);
}

}  // namespace orvkit
