// Process entry: command-line arguments are ignored, and the exit code is always 0.
#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    if (orvkit::initialise(instance, show_command) != 0) return 0;
    return orvkit::run_message_loop();
}
