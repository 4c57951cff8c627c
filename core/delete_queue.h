// Removes twin files: to the recycle bin in batches, outright, or by moving them
// into the move folder, as the "Batch Delete Mode" option says.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "base/owner.h"
#include "core/delete_modes.h"

namespace orvkit {

// Result codes of the queue's operations.
constexpr uint32_t delete_done = 0;         // for a recycle request: queued
constexpr uint32_t delete_aborted = 1;      // flush: the user aborted the shell operation
constexpr uint32_t delete_shell_failed = 9; // flush: the shell operation failed
constexpr uint32_t delete_failed = 11;      // delete or move failed, or an unknown mode
constexpr uint32_t delete_no_memory = 13;   // the recycle list could not be allocated

// Size of the recycle list block, and the counted bytes past which it is sent at once.
constexpr uint32_t batch_block_bytes = 60'800'000;
constexpr uint32_t batch_flush_bytes = 60'795'000;
// The longest path the shell takes (MAX_PATH counting the NUL).
constexpr std::size_t shell_path_limit = MAX_PATH - 1;

// Flags of the queue's own recycle operation: to the recycle bin, no confirmation,
// no error boxes, but the shell's warning before a file the bin cannot take would be
// destroyed, and only the named files (see the definition of flush).
constexpr FILEOP_FLAGS batch_recycle_flags =
    FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI | FOF_WANTNUKEWARNING | FOF_NO_CONNECTED_ELEMENTS;

// Asked for each queued path just before the list is sent: false keeps the file.
using recycle_vetting = std::function<bool(const std::wstring& path)>;

// Where "Move to" puts `path`: `folder`, with its closing backslash, and the file's
// name. Empty without a folder or a name: without a move folder the destination would
// be a file in the root of the current drive.
std::wstring move_target(const std::wstring& path, const std::wstring& folder);

// How a request removes a file: the queue's own options, or a run's copy of them.
struct removal_options {
    uint32_t delete_mode = delete_mode_recycle;
    std::wstring move_dir;           // target folder of "Move to"
    uint8_t override_read_only = 0;  // retry once after clearing the file's attributes
};

class DeleteQueue {
public:
    DeleteQueue() = default;
    DeleteQueue(const DeleteQueue&) = delete;
    DeleteQueue& operator=(const DeleteQueue&) = delete;
    ~DeleteQueue();

    // One request under the lock, retried once after clearing the attributes when
    // override_read_only is on; by options_for_batch() (on the window thread) or by
    // `how` (a worker's copy). A delete or
    // a move is done (0) only once the file has left its path; a recycle request is
    // queued, and its outcome is read from the disk after the flush.
    uint32_t submit(const std::wstring& path);
    uint32_t submit(const std::wstring& path, const removal_options& how);
    // The copy a batch works with, taken on the window thread: in Move mode the move
    // folder gets its closing backslash first, and keeps it, as the first move finds it.
    removal_options options_for_batch();
    // Takes `lock` and hands the pending recycle list to the shell, each path first
    // put to `vet`.
    uint32_t flush_locked(const recycle_vetting& vet = {});
    // The pending list has passed the counted bytes at which it is to be sent.
    bool recycle_list_full() const { return batch_bytes > batch_flush_bytes; }

    // The queue's own options: set by the window thread while no worker runs (the
    // menu, the settings file); a worker takes a copy of them at its start.
    removal_options options;
    HWND owner_window = nullptr;      // owner of the shell operation; stays null

    std::mutex lock;                  // held by every request and every flush (see below)

private:
    // What needs `lock` held is named for it, and only submit and flush_locked take it.
    uint32_t perform_holding_lock(const std::wstring& path, const removal_options& how);
    uint32_t flush_holding_lock(const recycle_vetting& vet);
    uint32_t delete_file(const std::wstring& path);
    uint32_t move_file(const std::wstring& path, const std::wstring& folder);
    uint32_t queue_recycle(const std::wstring& path);
    uint32_t send_batch(const recycle_vetting& vet);
    void free_batch();

    // The pending recycle list in the shell's format: paths each ended by a NUL, the
    // list by a second NUL. Null while no list is pending.
    unique_global batch;
    wchar_t* batch_cursor = nullptr;  // where the next path goes
    uint32_t batch_bytes = 0;         // 2 x length + 4 per path
};

// Sends the NUL-separated, double-NUL-terminated `paths` to the recycle bin in one
// shell operation: 0 done, 1 aborted, 9 failed. Without `flags` the shell asks for
// confirmation and shows its own errors, owned by `owner`.
uint32_t shell_recycle(HWND owner, const wchar_t* paths, FILEOP_FLAGS flags = FOF_ALLOWUNDO);

}  // namespace orvkit
