// parse_bin_record on any bytes. What it reads must be written back as version 2 and
// read again as the same record; a version-2 record has one layout, so its bytes too.
#include <cstdlib>
#include <cstring>

#include "shell/bin_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    orvkit::bin_record record;
    if (!orvkit::parse_bin_record(data, size, record)) return 0;
    const std::vector<uint8_t> bytes = orvkit::bin_record_bytes(record);
    orvkit::bin_record again;
    if (!orvkit::parse_bin_record(bytes.data(), bytes.size(), again) || !(again == record)) std::abort();
    if (data[0] == 2 && (bytes.size() != size || std::memcmp(bytes.data(), data, size) != 0)) std::abort();
    return 0;
}
