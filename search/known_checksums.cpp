#include "search/known_checksums.h"

#include <string_view>
#include <unordered_map>

#include "search/list_file.h"

namespace orvkit {

uint32_t take_known_checksums(orvFileList& walked, const std::wstring& index_name) {
    orvFileList index(0);
    if (read_list_file(index, index_name) < 2) return 0;
    std::unordered_map<std::wstring_view, const file_record*> by_path;  // views of the index's own paths
    by_path.reserve(index.records.size());
    for (const auto& record : index.records)
        if (record->checksum != 0) by_path.emplace(record->path, record.get());
    // The file keeps the low 32 bits of sizes and times: a change of time shows in
    // them unless it is a whole multiple of about seven minutes to the 100 ns.
    constexpr uint64_t low_half = 0xFFFFFFFFu;
    uint32_t taken = 0;
    for (const auto& record : walked.records) {
        const auto known = by_path.find(record->path);
        if (known == by_path.end() || known->second->size != (record->size & low_half) ||
            known->second->written != (record->written & low_half))
            continue;
        record->checksum = known->second->checksum;
        ++taken;
    }
    return taken;
}

}  // namespace orvkit
