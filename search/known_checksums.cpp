#include "search/known_checksums.h"

#include <algorithm>
#include <vector>

#include "search/list_file.h"

namespace orvkit {

namespace {

// A 64-bit FNV-1a hash of a path's UTF-16 units, fed in pieces.
struct path_hash {
    uint64_t value = 0xcbf29ce484222325ull;
    void add(const wchar_t* text, std::size_t length) {
        for (std::size_t i = 0; i < length; ++i) {
            value ^= static_cast<uint16_t>(text[i]);
            value *= 0x100000001b3ull;
        }
    }
};

uint64_t hash_of(const file_record& record) {
    path_hash hash;
    if (record.folder) {
        hash.add(record.folder->data(), record.folder->size());
        hash.add(L"\\", 1);
    }
    if (record.name) hash.add(record.name, std::wcslen(record.name));
    return hash.value;
}

// What the index says of one file: the low 32 bits of size and time, as saved.
struct known_file {
    uint64_t path_hash;
    uint32_t size;
    uint32_t written;
    uint32_t checksum;
    bool operator<(const known_file& other) const { return path_hash < other.path_hash; }
};

}  // namespace

// The index is read as a stream and only its files with a checksum are kept, each
// as its path's hash and three numbers: an index of a million files that share no
// path with this search costs a read, not a second list. Two paths that share a
// 64-bit hash, a size and a time to the 100 ns at once are not to be met in practice;
// even then the checksum only chooses which files are compared.
uint32_t take_known_checksums(orvFileList& walked, const std::wstring& index_name) {
    std::vector<known_file> known;
    read_list_records(index_name, [&](const std::wstring& path, const file_record& fields) {
        // Only a file of a folder this search walked can match.
        const std::size_t cut = path.rfind(L'\\');
        if (fields.checksum == 0 || cut == path.npos || !walked.find_folder(std::wstring_view(path).substr(0, cut)))
            return;
        path_hash hash;
        hash.add(path.data(), path.size());
        known.push_back({hash.value, static_cast<uint32_t>(fields.size), static_cast<uint32_t>(fields.written),
                         fields.checksum});
    });
    if (known.empty()) return 0;
    std::sort(known.begin(), known.end());
    // The file keeps the low 32 bits of sizes and times: a change of time shows in
    // them unless it is a whole multiple of about seven minutes to the 100 ns.
    uint32_t taken = 0;
    for (file_record* record : walked.records) {
        const auto [first, last] = std::equal_range(known.begin(), known.end(), known_file{hash_of(*record), 0, 0, 0});
        for (auto entry = first; entry != last; ++entry) {
            if (entry->size != static_cast<uint32_t>(record->size) || entry->written != static_cast<uint32_t>(record->written))
                continue;
            record->checksum = entry->checksum;
            ++taken;
            break;
        }
    }
    return taken;
}

}  // namespace orvkit
