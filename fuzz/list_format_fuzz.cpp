// The list-file reader on any bytes, fed in pieces as a file read in blocks would be:
// the first byte is the piece size less one, the rest the file. Every record it keeps
// must be one the writer can write, and written again it must read back as itself
// (sizes and times to their low 32 bits, as the writer keeps them).
#include <algorithm>
#include <cstdlib>

#include "search/list_format.h"

namespace {

void feed(orvkit::orvFileList& list, const uint8_t* data, std::size_t size, std::size_t piece) {
    orvkit::list_file_parser parser(list);
    for (std::size_t at = 0; at < size; at += piece) parser.feed(data + at, std::min(piece, size - at));
}

bool same(const orvkit::file_record& a, const orvkit::file_record& b) {
    constexpr uint64_t low = 0xFFFFFFFFu;
    return a.path() == b.path() && a.checksum == b.checksum && a.marked == b.marked && (a.size & low) == b.size &&
           (a.created & low) == b.created && (a.accessed & low) == b.accessed && (a.written & low) == b.written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    orvkit::orvFileList list(0);
    feed(list, data + 1, size - 1, std::size_t{data[0]} + 1);
    std::string bytes;
    orvkit::append_list_header(bytes, list.records.size());
    for (const auto& record : list.records) {
        if (!orvkit::list_record_writable(*record)) std::abort();
        orvkit::append_list_record(bytes, *record);
    }
    orvkit::append_list_trailer(bytes);
    orvkit::orvFileList again(0);
    feed(again, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), bytes.size() + 1);
    if (again.records.size() != list.records.size()) std::abort();
    for (std::size_t i = 0; i < list.records.size(); ++i)
        if (!same(*list.records[i], *again.records[i])) std::abort();
    return 0;
}
