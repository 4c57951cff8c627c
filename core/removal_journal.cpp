#include "core/removal_journal.h"

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <mutex>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "core/state.h"

namespace orvkit {

namespace {

// Workers of different batches may append at the same moment, and the window may
// read the journal meanwhile.
std::mutex journal_lock;

}  // namespace

std::wstring journal_path(const ostrand_state& state) { return state.data_path.folder + journal_file_name; }

std::vector<journal_entry> read_journal(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    {
        const std::lock_guard<std::mutex> held(journal_lock);
        // Shared for writing too: a batch keeps the journal open while it lasts.
        unique_handle file(CreateFileW(long_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        uint64_t size = 0;
        if (!file || !size_of_open_file(file.get(), size)) return {};
        bytes.resize(size);
        bytes.resize(read_whole(file.get(), bytes.data(), bytes.size()));
    }
    return parse_journal(bytes.data(), bytes.size());
}

// Asked at every right click: the journal is read again only once it has changed.
bool undo_offered(const ostrand_state& state) {
    static std::mutex cache_lock;
    static std::wstring cached_path;
    static WIN32_FILE_ATTRIBUTE_DATA cached_file{};
    static bool cached_answer = false;
    const std::wstring path = journal_path(state);
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (!GetFileAttributesExW(long_path(path).c_str(), GetFileExInfoStandard, &file)) return false;
    const std::lock_guard<std::mutex> held(cache_lock);
    const bool unchanged = path == cached_path && file.nFileSizeLow == cached_file.nFileSizeLow &&
                           file.nFileSizeHigh == cached_file.nFileSizeHigh &&
                           CompareFileTime(&file.ftLastWriteTime, &cached_file.ftLastWriteTime) == 0;
    if (!unchanged) {
        const undo_plan plan = plan_undo(read_journal(path));
        cached_answer = !plan.pending.empty();
        cached_path = path;
        cached_file = file;
    }
    return cached_answer;
}

std::wstring journal_time_now() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}

journal_batch::journal_batch(const ostrand_state& state, const wchar_t* kind) : path_(journal_path(state)) {
    static std::atomic<unsigned> batches{0};
    id_ = std::wstring(kind) + L" " + journal_time_now() + L" #" + std::to_wstring(GetCurrentProcessId()) + L"." +
          std::to_wstring(++batches);
}

journal_batch::journal_batch(std::wstring path, std::wstring id) : path_(std::move(path)), id_(std::move(id)) {}

// Opened at the batch's first line, not before: a batch that removes nothing leaves
// no journal behind.
bool journal_batch::open() {
    file_.reset(CreateFileW(long_path(path_).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file_ || !GetFileSizeEx(file_.get(), &size)) return false;
    return size.QuadPart > 0 || write_whole(file_.get(), journal_preamble().data(), journal_preamble().size());
}

void journal_batch::record(journal_action action, const std::wstring& path, const std::wstring& target,
                           const std::wstring& partner, uint64_t size, const std::wstring& bin_time) {
    const std::lock_guard<std::mutex> held(journal_lock);
    if (!file_ && !open()) {
        file_.reset();
        failed_ = true;
        return;
    }
    const std::string line = journal_line({journal_time_now(), action, path, target, partner, size, id_, bin_time});
    if (!write_whole(file_.get(), line.data(), line.size()) || !FlushFileBuffers(file_.get())) failed_ = true;
}

void journal_batch::end() {
    if (file_) record(journal_action::ended, {}, {}, {}, 0);
}

}  // namespace orvkit
