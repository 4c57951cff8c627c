#include "app/startup.h"

#include "app/keyboard.h"

#include "app/main_window.h"
#include "app/settings_file.h"
#include "core/globals.h"
#include "core/state.h"
#include "ui/interface_setup.h"

namespace orvkit {

int initialise(HINSTANCE instance, int show_command) {
    app_state = std::make_shared<ostrand_state>();
    about_state = app_state;

    setup_interface(app_state, instance);
    read_settings();
    lstrcpynW(window_class_name, L"Ostrand", 100);
    register_main_window_class();

    HWND window = CreateWindowExW(WS_EX_ACCEPTFILES, window_class_name, L"Ostrand 2.0", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (window) {
        ShowWindow(window, show_command);
        UpdateWindow(window);
    }
    app_state->main_window = window;
    if (!window) return 13;

    picked_path.reserve(1200);
    path_a.reserve(1200);
    path_b.reserve(1200);

    // Signalled from the start, so a worker started later runs until a pause resets it.
    go_event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    SetEvent(go_event.get());
    return 0;
}

void handle_message(const MSG& message) {
    if (take_window_key(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int run_message_loop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) handle_message(message);
    return 0;
}

}  // namespace orvkit
