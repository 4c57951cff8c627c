#include "app/settings_file.h"

#include <windows.h>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "base/win32_numbers.h"
#include "core/globals.h"
#include "core/settings_layout.h"
#include "core/state.h"

namespace orvkit {

std::wstring settings_file_path() { return app_state->data_path.folder + L"dVelk.dat"; }

// One read of at most the file's 2432 bytes: a longer file's tail is never looked at.
int read_settings() {
    ostrand_state& state = *app_state;
    uint8_t bytes[settings_file_bytes] = {};
    DWORD got = 0;
    {
        unique_handle file(CreateFileW(system_path(settings_file_path()).c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file && !ReadFile(file.get(), bytes, sizeof(bytes), &got, nullptr)) got = 0;
    }
    // Without a file the block is not touched: the size field keeps the
    // constructor's value, yet no file means the defaults, as a foreign one does.
    if (got == 0) state.settings.block_size = 0;
    const settings_outside outside = apply_settings_bytes(state.settings, bytes, got);
    if (outside.accepted) {
        state.deletions.options.delete_mode = outside.delete_mode;
        state.deletions.options.override_read_only = outside.override_read_only;
        // A short file leaves the folder empty; the desktop the state started with stays.
        if (!outside.move_dir.empty()) state.deletions.options.move_dir = outside.move_dir;
        search_mode = outside.mode;
    } else {
        state.deletions.options.override_read_only = 0;
        state.deletions.options.delete_mode = delete_mode_recycle;
        search_mode = outside.mode;
    }
    return 0;
}

// The new bytes go to a file beside the old one, which is replaced in one step
// once they are all on disk: a full disk or a killed program never leaves a
// half-written settings file behind.
void write_settings() {
    ostrand_state& state = *app_state;
    store_outside_options(state.settings, search_mode, state.deletions.options.delete_mode,
                          state.deletions.options.override_read_only, state.deletions.options.move_dir);
    const std::vector<uint8_t> image = settings_file_image(state.settings);
    const std::wstring target = system_path(settings_file_path());
    const std::wstring scratch = system_path(settings_file_path() + L".new");
    bool written = false;
    {
        unique_handle file(CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        written = write_whole(file.get(), image.data(), image.size()) && FlushFileBuffers(file.get());
    }
    if (!written || !MoveFileExW(scratch.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        DeleteFileW(scratch.c_str());
}

}  // namespace orvkit
