#include "search/list_file.h"

#include <windows.h>

#include <atomic>
#include <new>
#include <string>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "core/globals.h"
#include "core/state.h"
#include "search/list_format.h"

namespace orvkit {

namespace {

constexpr std::size_t read_block_limit = compare_block_bytes;
constexpr std::size_t fallback_read_bytes = 64 * 1024;
constexpr std::size_t write_chunk_bytes = 1024 * 1024;

// The data folder followed directly by the name; empty when there is no state.
// A folder past the plain-path limit is reached through its long form.
bool list_path(const std::wstring& name, std::wstring& path) {
    const std::shared_ptr<ostrand_state> state = app_state;
    if (!state) return false;
    path = system_path(state->data_path.folder + name);
    return true;
}

// The list's bytes, written chunk by chunk: none for fewer than two records. False
// when a chunk did not all go or memory ran out before the end.
bool write_records(HANDLE file, const orvFileList& list, const list_chunk_writer& write) {
    if (list.records.size() < 2) return true;
    try {
        uint64_t count = 0;
        for (const auto& record : list.records)
            if (record && list_record_writable(*record)) ++count;
        std::string chunk;
        chunk.reserve(write_chunk_bytes + 64 * 1024);
        append_list_header(chunk, count);
        for (const auto& record : list.records) {
            if (!record || !list_record_writable(*record)) continue;
            append_list_record(chunk, *record);
            if (chunk.size() >= write_chunk_bytes) {
                if (!write(file, chunk)) return false;
                chunk.clear();
            }
        }
        append_list_trailer(chunk);
        return write(file, chunk);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Feeds the file data folder + `name` to `parser` through `buffer`, `block` bytes
// (even, so that blocks end between code units) at a time. Out of memory part way,
// the records read so far stay.
void feed_list_file(const std::wstring& name, list_file_parser& parser, uint8_t* buffer, std::size_t block) {
    std::wstring path;
    if (!list_path(name, path)) return;
    unique_handle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    try {
        DWORD got = 0;
        while (ReadFile(file.get(), buffer, static_cast<DWORD>(block), &got, nullptr) && got > 0) parser.feed(buffer, got);
    } catch (const std::bad_alloc&) {
    }
}

// The backup is the old file under a second name when the file system allows it:
// the old file is only ever replaced whole, never written in place, so the name
// keeps its bytes, and a list of a million files needs no copy. Else a copy.
void keep_backup(const std::wstring& path, const std::wstring& backup_path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // no old list: the backup stays
    DeleteFileW(backup_path.c_str());
    if (!CreateHardLinkW(backup_path.c_str(), path.c_str(), nullptr)) CopyFileW(path.c_str(), backup_path.c_str(), FALSE);
}

}  // namespace

bool write_list_chunk(HANDLE file, const std::string& bytes) { return write_whole(file, bytes.data(), bytes.size()); }

// The old file is copied to the backup name first. The new list goes to a file
// beside it named for this process and this call, and replaces the old one in one
// step once every byte is on disk: a crash, a full disk or a second window saving
// at the same moment never leaves a cut or mixed list, and a failed write leaves
// the previous one whole.
void write_list_file(orvFileList& list, const std::wstring& name, const std::wstring& backup_name,
                     const list_chunk_writer& write) {
    static std::atomic<uint32_t> calls{0};
    const std::wstring scratch_name =
        name + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++calls) + L".tmp";
    std::wstring path;
    std::wstring backup_path;
    std::wstring scratch_path;
    if (!list_path(name, path) || !list_path(backup_name, backup_path) || !list_path(scratch_name, scratch_path))
        return;
    keep_backup(path, backup_path);
    bool written = false;
    {
        unique_handle file(CreateFileW(scratch_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        written = write_records(file.get(), list, write) && FlushFileBuffers(file.get());
    }
    if (!written ||
        !MoveFileExW(scratch_path.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        DeleteFileW(scratch_path.c_str());
}

// Reads through the list's own large buffer; a list without one gets a smaller
// buffer here.
int64_t read_list_file(orvFileList& list, const std::wstring& name) {
    uint8_t* buffer = list.read_buffer.get();
    std::size_t block = std::min(list.read_buffer_bytes, read_block_limit) & ~std::size_t{1};
    std::unique_ptr<uint8_t[]> own;
    uint8_t small[4096];
    if (!buffer || block == 0) {
        own.reset(new (std::nothrow) uint8_t[fallback_read_bytes]);
        buffer = own ? own.get() : small;
        block = own ? fallback_read_bytes : sizeof(small);
    }
    try {
        list_file_parser parser(list);
        feed_list_file(name, parser, buffer, block);
    } catch (const std::bad_alloc&) {
    }
    list.publish_count();
    return static_cast<int64_t>(list.records.size());
}

void read_list_records(const std::wstring& name, const list_record_sink& sink) {
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[fallback_read_bytes]);
    if (!buffer) return;
    list_file_parser parser(sink);
    feed_list_file(name, parser, buffer.get(), fallback_read_bytes);
}

}  // namespace orvkit
