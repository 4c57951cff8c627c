// Removes twin files: to the recycle bin in batches, outright, or by moving them
// into the move folder, as the "Batch Delete Mode" option says.
#pragma once
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace orvkit {

// Result codes of the queue's operations.
constexpr uint32_t delete_done = 0;         // for a recycle request: queued
constexpr uint32_t delete_aborted = 1;      // flush: the user aborted the shell operation
constexpr uint32_t delete_shell_failed = 9; // flush: the shell operation failed
constexpr uint32_t delete_failed = 11;      // delete or move failed, or an unknown mode
constexpr uint32_t delete_no_memory = 13;   // the recycle list could not be allocated

class DeleteQueue {
public:
    DeleteQueue() = default;
    DeleteQueue(const DeleteQueue&) = delete;
    DeleteQueue& operator=(const DeleteQueue&) = delete;
    ~DeleteQueue();

    // One request under the lock, retried once after clearing the attributes when
    // override_read_only is on.
    uint32_t submit(const std::wstring& path);
    // One request by delete_mode; the caller holds `lock`.
    uint32_t perform(const std::wstring& path);
    // Hands the pending recycle list to the shell; the caller holds `lock`.
    uint32_t flush();
    // flush under the lock.
    uint32_t flush_locked();

    std::wstring move_dir;            // target folder of "Move to"
    uint32_t delete_mode = 0;         // 0 Recycle, 1 Delete, 2 Move to
    uint8_t override_read_only = 0;   // retry once after clearing the file's attributes
    HWND owner_window = nullptr;      // owner of the shell operation; stays null

    std::mutex lock;
};

// Sends the NUL-separated, double-NUL-terminated `paths` to the recycle bin in one
// shell operation: 0 done, 1 aborted, 9 failed.
uint32_t shell_recycle(HWND owner, const wchar_t* paths);

}  // namespace orvkit
