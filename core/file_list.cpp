#include "core/file_list.h"

#include <new>

namespace orvkit {

orvFileList::orvFileList(std::size_t bytes) : read_buffer(new (std::nothrow) uint8_t[bytes]) {
    if (read_buffer) read_buffer_bytes = bytes;
}

orvFileList::~orvFileList() { clear(); }

// Grows by half of the capacity when full, so appends stay amortised without the
// doubling of std::vector's own policy wasting memory on very large indexes.
void orvFileList::append_record(std::unique_ptr<file_record> record) {
    if (records.size() == records.capacity()) {
        std::size_t wanted = records.capacity() + records.capacity() / 2;
        if (wanted < records.size() + 1) wanted = records.size() + 1;
        records.reserve(wanted);
    }
    records.push_back(std::move(record));
}

void orvFileList::remove_record(std::size_t index) {
    if (index >= records.size()) return;
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(index));
    publish_count();
}

void orvFileList::clear() {
    while (!records.empty()) records.pop_back();
    record_count.store(0);
    total_bytes = 0;
}

std::shared_ptr<orvFileList> make_file_list() { return std::make_shared<orvFileList>(); }

}  // namespace orvkit
