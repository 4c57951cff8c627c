#include "ui/interface_setup.h"

#include <commctrl.h>

#include "core/state.h"
#include "resources/resource_ids.h"
#include "ui/data_folder.h"

namespace orvkit {

int setup_interface(std::shared_ptr<ostrand_state> state, HINSTANCE instance) {
    if (!state) return 0;
    state->instance = instance;
    state->exe_name = L"Ostrand.exe";
    state->app_name = L"Ostrand";
    const int result = locate_folders(state);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_DATE_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&controls);

    state->tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);

    state->small_icon.reset(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_OSTRAND), IMAGE_ICON, 16, 16, 0)));
    state->large_icon.reset(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_OSTRAND), IMAGE_ICON, 32, 32, 0)));
    state->bitmap_swc.reset(LoadBitmapW(instance, L"SWCBMP"));
    state->bitmap_swh.reset(LoadBitmapW(instance, L"SWHBMP"));
    return result;
}

}  // namespace orvkit
