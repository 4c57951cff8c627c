// The index of one search: one record per file, in the order the files were met,
// the counters the search reports, and one large read buffer.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/published_text.h"
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
    std::wstring path;        // folder path, "\", entry name; no long-path prefix
    uint32_t checksum = 0;    // 0 when not computed, unreadable or empty
    uint32_t content_class = 0;  // records read to equal bytes share one; 0 when not known (never saved)
    uint64_t size = 0;
    uint64_t created = 0;     // FILETIME ticks
    uint64_t accessed = 0;
    uint64_t written = 0;
    uint32_t fail_count = 0;  // times the file could not be opened as file B of a pair
    bool marked = false;      // lies in or below a folder holding "FCBackDB.txt"
    file_identity identity;   // filled on demand; not saved in list files
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

    void append_record(std::unique_ptr<file_record> record);
    void remove_record(std::size_t index);
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
    std::vector<std::unique_ptr<file_record>> records;
    uint64_t total_bytes = 0;
    uint32_t empty_folders_removed = 0;
    uint32_t folders_visited = 0;

    void publish_count() { record_count.store(static_cast<int64_t>(records.size())); }
};

std::shared_ptr<orvFileList> make_file_list();

}  // namespace orvkit
