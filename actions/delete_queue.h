// Removes twin files: to the recycle bin in batches, outright, or by moving them
// into the move folder, as the "Batch Delete Mode" option says.
#pragma once
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace orvkit {

class DeleteQueue {
public:
    std::wstring move_dir;            // target folder of "Move to"
    uint32_t delete_mode = 0;         // 0 Recycle, 1 Delete, 2 Move to
    uint8_t override_read_only = 0;   // retry once after clearing the file's attributes
    HWND owner_window = nullptr;      // owner of the shell operation; stays null

    std::mutex lock;
};

}  // namespace orvkit
