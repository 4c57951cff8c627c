// The index of one search: one record per file, in the order the files were met,
// the counters the search reports, and one large read buffer.
//
// A million files must fit in little memory, so a record does not own its path: it
// points at its folder's path, kept once in the list however many files the folder
// holds, and at its name, kept in the list's name store. Records lie in fixed blocks
// that never move while the list grows, so a pointer to a record stays good until
// the record leaves the list (a pair scan's pruning, remove_record, clear).
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/block_array.h"
#include "base/published_text.h"
#include "base/text_arena.h"
#include "base/text_set.h"
#include "core/run_protocol.h"

namespace orvkit {

// Which file a path reaches: the file system's index of the file and the serial
// number of its volume. Two paths (links, overlapping trees) with the same identity
// name one and the same file. The index is cheap to read and kept for every file the
// walk opens; the volume is read only when two indexes agree.
struct file_identity {
    uint64_t file_index = 0;
    uint32_t volume_serial = 0;
    bool index_known = false;
    bool volume_known = false;
};

struct file_record {
    // The path is folder, "\", name; a path without "\" is its name alone (no folder).
    // Both point into the list that holds the record; no long-path prefix.
    const kept_text* folder = nullptr;
    const wchar_t* name = nullptr;  // NUL-terminated
    uint32_t checksum = 0;          // 0 when not computed, unreadable or empty
    uint32_t content_class = 0;     // records read to equal bytes share one; 0 when not known (never saved)
    uint64_t size = 0;
    uint64_t written = 0;     // FILETIME ticks
    uint32_t created = 0;     // the low 32 bits of the ticks: all a list file keeps, and all it is kept for
    uint32_t accessed = 0;
    uint32_t fail_count = 0;  // times the file could not be opened as file B of a pair
    bool marked = false;      // lies in or below a folder holding "FCBackDB.txt"
    bool pruned = false;      // left the list during a pair scan; dropped when the scan ends
    file_identity identity;   // filled on demand; not saved in list files

    std::wstring path() const;
    std::size_t path_length() const;
    // Appends the path to `out` without building it first.
    void append_path(std::wstring& out) const;
};

// The records of a list in blocks of fixed size. Indexing and iteration give a
// pointer to the record, which stays valid as the store grows.
class record_store {
public:
    static constexpr std::size_t block_records = 1024;

    class iterator {
    public:
        iterator(const record_store* store, std::size_t at) : store_(store), at_(at) {}
        file_record* operator*() const { return (*store_)[at_]; }
        iterator& operator++() { return ++at_, *this; }
        bool operator!=(const iterator& other) const { return at_ != other.at_; }

    private:
        const record_store* store_;
        std::size_t at_;
    };

    file_record* operator[](std::size_t index) const { return &records_[index]; }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.size() == 0; }
    iterator begin() const { return {this, 0}; }
    iterator end() const { return {this, records_.size()}; }

    file_record& push_back(const file_record& record) { return records_.push_back(record); }
    // Drops the records from `count` on, and the blocks no record uses.
    void shrink_to(std::size_t count) { records_.shrink_to(count); }

private:
    block_array<file_record, block_records> records_;
};

class orvFileList {
public:
    // The value of `status` that stops the walk: an abort's pause code.
    static constexpr uint32_t stop_requested = static_cast<uint32_t>(pause_aborting);

    static constexpr std::size_t default_read_buffer_bytes = compare_block_bytes;

    // A list whose read buffer cannot be had keeps read_buffer null and
    // read_buffer_bytes 0; readers then fall back to a small buffer of their own.
    explicit orvFileList(std::size_t read_buffer_bytes = default_read_buffer_bytes);
    orvFileList(const orvFileList&) = delete;
    orvFileList& operator=(const orvFileList&) = delete;
    ~orvFileList();

    // The list's own copy of a folder path, for the records of the folder's files.
    const kept_text* add_folder(std::wstring_view folder);
    // Appends a record of the file `name` in `folder` (from add_folder), its other
    // fields taken from `fields`.
    file_record& add_record(const kept_text* folder, std::wstring_view name, const file_record& fields = {});
    // The list's copy of `folder` when a record of the list lies in it, else null.
    const kept_text* find_folder(std::wstring_view folder) const;
    // The same for a whole path, split at its last "\".
    file_record& add_record(std::wstring_view path, const file_record& fields = {});
    void remove_record(std::size_t index);
    // Drops the records marked pruned, keeping the order of the others. Records move:
    // pointers to them are stale afterwards.
    void drop_pruned();
    void clear();

    std::atomic<uint32_t> status{0};   // 10 = stop requested (written by the window thread)
    uint32_t mode = 0;                 // search mode copied at the search's start
    uint8_t remove_empty_folders = 0;
    std::atomic<int64_t> record_count{0};  // records as last published, read by the painting
    published_text current_folder;         // folder entered last, read by the painting
    const std::wstring marker_suffix = L"\\FCBackDB.txt";
    const std::wstring pattern_suffix = L"\\*.*";
    uint64_t deleted_bytes = 0;
    std::unique_ptr<uint8_t[]> read_buffer;
    std::size_t read_buffer_bytes = 0;
    record_store records;
    uint64_t total_bytes = 0;
    uint32_t empty_folders_removed = 0;
    uint32_t folders_visited = 0;

    void publish_count() { record_count.store(static_cast<int64_t>(records.size())); }

private:
    // Folder paths never move as the set grows, so the records' pointers stay good.
    text_set folders_;
    const kept_text* last_folder_ = nullptr;
    text_arena names_;
};

std::shared_ptr<orvFileList> make_file_list();

}  // namespace orvkit
