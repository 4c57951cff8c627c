#include "core/delete_queue.h"

#include <cstring>
#include <unordered_set>
#include <vector>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/path_parts.h"
#include "shell/recycle_bin.h"

namespace orvkit {

namespace {

bool starts_with(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

// The full plain path the shell is to be given for `path`, or empty when the shell
// cannot take it. SHFileOperationW on Windows is bound to MAX_PATH and does not take
// the "\\?\" form: a longer path would be refused or misread, and a path cut short
// could name another file or a whole folder, so such a request is refused whole.
// Wine accepts longer paths, but cannot show that fault, so the limit holds there too.
std::wstring shell_path(const std::wstring& path) {
    std::wstring plain = path;
    const bool literal = starts_with(path, L"\\\\?\\");
    if (starts_with(path, L"\\\\?\\UNC\\")) plain = L"\\\\" + path.substr(8);
    else if (literal) plain = path.substr(4);
    if (literal && (plain.find(L'/') != std::wstring::npos || has_dot_segment(plain))) return {};
    // Too long, or a name ending in a dot or space, which the plain form would trim.
    if (system_path(plain) != plain) return {};
    // The list is sent later, so a relative path is made full now, while it means
    // what the caller meant. "*" and "?" (and the DOS forms "<", ">", '"') would be
    // expanded by the shell as wildcards.
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(plain.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length > shell_path_limit) return {};
    const std::wstring result(full, length);
    if (result.find_first_of(L"*?<>\"") != std::wstring::npos) return {};
    return result;
}

bool names_a_file(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(long_path(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

constexpr DWORD restorable_attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                        FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

// A pending list is dropped unsent: the program is ending.
DeleteQueue::~DeleteQueue() {
    std::lock_guard<std::mutex> held(lock);
    free_batch();
}

// When the retry fails too, the attributes the file had are put back, so a request
// that removed nothing leaves the file as it was.
uint32_t DeleteQueue::submit(const std::wstring& path) { return submit(path, options_for_batch()); }

// The move folder is kept with its closing backslash, as the moves name it.
removal_options DeleteQueue::options_for_batch() {
    if (options.delete_mode == delete_mode_move && !options.move_dir.empty() && options.move_dir.back() != L'\\')
        options.move_dir += L'\\';
    return options;
}

uint32_t DeleteQueue::submit(const std::wstring& path, const removal_options& how) {
    std::lock_guard<std::mutex> held(lock);
    uint32_t result = perform_holding_lock(path, how);
    if (result != delete_done && how.override_read_only) {
        // The plain path as given while it reaches the file; the long form past MAX_PATH.
        const std::wstring target = system_path(path);
        const DWORD before = GetFileAttributesW(target.c_str());
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        result = perform_holding_lock(path, how);
        if (result != delete_done && before != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(target.c_str(), before & restorable_attributes);
    }
    return result;
}

uint32_t DeleteQueue::perform_holding_lock(const std::wstring& path, const removal_options& how) {
    switch (how.delete_mode) {
    case delete_mode_recycle: return queue_recycle(path);
    case delete_mode_delete: return delete_file(path);
    case delete_mode_move: return move_file(path, how.move_dir);
    default: return delete_failed;
    }
}

// Done only once the path is gone: DeleteFileW may report success for a file it
// could not unlink (Wine, in a folder that refuses changes).
uint32_t DeleteQueue::delete_file(const std::wstring& path) {
    return DeleteFileW(long_path(path).c_str()) && !path_exists(path) ? delete_done : delete_failed;
}

std::wstring move_target(const std::wstring& path, const std::wstring& folder) {
    if (folder.empty()) return {};
    const std::wstring target_folder = folder.back() == L'\\' ? folder : folder + L'\\';
    std::wstring source = path;
    for (wchar_t& c : source)
        if (c == L'/') c = L'\\';
    path_parts parts;
    parts = source;
    if (parts.name.empty()) return {};
    return target_folder + parts.name;
}

// The file keeps its name in the move folder. An existing file of that name makes the
// move fail (MoveFileW never replaces), so nothing is overwritten.
uint32_t DeleteQueue::move_file(const std::wstring& path, const std::wstring& folder) {
    const std::wstring target = move_target(path, folder);
    if (target.empty()) return delete_failed;
    const bool moved = MoveFileW(long_path(path).c_str(), long_path(target).c_str());
    return moved && !path_exists(path) && path_exists(target) ? delete_done : delete_failed;
}

// Appends the path, whole, to the pending list, which is sent at the next flush; the
// caller flushes once the counted bytes pass the limit (recycle_list_full), so that
// every flush checks its files again. A path that is no file now, or that the shell
// could not take, is refused here (11) rather than handed to the shell later.
uint32_t DeleteQueue::queue_recycle(const std::wstring& path) {
    const std::wstring entry = shell_path(path);
    if (entry.empty() || !names_a_file(entry)) return delete_failed;
    if (!batch) {
        batch.reset(GlobalAlloc(GPTR, batch_block_bytes));
        if (!batch) return delete_no_memory;
        batch_cursor = static_cast<wchar_t*>(batch.get());
        batch_bytes = 0;
    }
    std::memcpy(batch_cursor, entry.c_str(), (entry.size() + 1) * sizeof(wchar_t));
    batch_cursor += entry.size() + 1;
    *batch_cursor = L'\0';
    batch_bytes += static_cast<uint32_t>(2 * entry.size() + 4);
    return delete_done;
}

// Flags: the recycle bin (FOF_ALLOWUNDO) without confirmation or error boxes, since
// the list is sent from the search or batch thread. FOF_WANTNUKEWARNING makes the
// shell ask before it destroys a file the bin cannot take (a drive or share without
// a bin, a file too big for it); No keeps the file. Files gone since they were queued
// are dropped first, so the shell never asks about a file that is merely gone.
// FOF_NO_CONNECTED_ELEMENTS keeps the shell from taking files the user did not name
// (a page's "_files" folder goes with the page otherwise).
//
// A list left pending after delete_mode changed away from Recycle is dropped unsent.
uint32_t DeleteQueue::flush_holding_lock(const recycle_vetting& vet) {
    uint32_t result = delete_done;
    if (options.delete_mode == delete_mode_recycle && batch_cursor) result = send_batch(vet);
    free_batch();
    return result;
}

uint32_t DeleteQueue::flush_locked(const recycle_vetting& vet) {
    std::lock_guard<std::mutex> held(lock);
    return flush_holding_lock(vet);
}

namespace {

std::wstring shell_list(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) list.append(path).push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

}  // namespace

// Second requests for a path already listed (a file can be the twin in several rows)
// and paths gone since they were queued are dropped, and each path is vetted, before
// the list is sent. The shell goes through the list in order; where it cannot take a
// file and the user keeps it, it may stop there and skip the rest (Wine does, and
// reports the operation aborted), so whatever is still in place after an aborted
// operation, but the first such file, is sent again, until nothing is left to send.
uint32_t DeleteQueue::send_batch(const recycle_vetting& vet) {
    std::unordered_set<std::wstring> listed;
    std::vector<std::wstring> sending;
    for (const wchar_t* read = static_cast<const wchar_t*>(batch.get()); *read; read += std::wcslen(read) + 1) {
        const std::wstring entry(read);
        if (listed.insert(case_key(entry)).second && names_a_file(entry) && (!vet || vet(entry)))
            sending.push_back(entry);
    }
    uint32_t result = delete_done;
    while (!sending.empty()) {
        const std::wstring list = shell_list(sending);
        const uint32_t code = shell_recycle(owner_window, list.c_str(), batch_recycle_flags);
        if (code != delete_done) result = code;
        std::vector<std::wstring> left;
        for (const std::wstring& path : sending)
            if (names_a_file(path)) left.push_back(path);
        if (code != delete_aborted || left.empty()) break;
        sending.assign(left.begin() + 1, left.end());
    }
    return result;
}

void DeleteQueue::free_batch() {
    batch.reset();
    batch_cursor = nullptr;
    batch_bytes = 0;
}

uint32_t shell_recycle(HWND owner, const wchar_t* paths, FILEOP_FLAGS flags) {
    switch (send_to_recycle_bin(owner, paths, flags)) {
    case recycle_result::done: return delete_done;
    case recycle_result::aborted: return delete_aborted;
    default: return delete_shell_failed;
    }
}

}  // namespace orvkit
