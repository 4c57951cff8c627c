// parse_journal on any bytes. Every entry it keeps names its batch, and a file's line
// a path with a folder; written again with the journal's own writer, the entries read
// back as themselves.
#include <cstdlib>

#include "core/journal_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<orvkit::journal_entry> entries = orvkit::parse_journal(data, size);
    for (const orvkit::journal_entry& entry : entries) {
        const bool batch_line =
            entry.action == orvkit::journal_action::undone || entry.action == orvkit::journal_action::ended;
        if (entry.batch.empty() || (!batch_line && entry.path.find(L'\\') == std::wstring::npos)) std::abort();
    }
    std::string bytes = orvkit::journal_preamble();
    for (const orvkit::journal_entry& entry : entries) bytes += orvkit::journal_line(entry);
    if (orvkit::parse_journal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) != entries) std::abort();
    return 0;
}
