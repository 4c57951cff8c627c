// parse_journal on any bytes. The entries it keeps, written again with the journal's
// own writer, read back as the same entries.
#include <cstdlib>

#include "core/journal_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<orvkit::journal_entry> entries = orvkit::parse_journal(data, size);
    std::string bytes = orvkit::journal_preamble();
    for (const orvkit::journal_entry& entry : entries) bytes += orvkit::journal_line(entry);
    if (orvkit::parse_journal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) != entries) std::abort();
    return 0;
}
