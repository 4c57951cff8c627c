// parse_trash_entry on any bytes. What it reads is an absolute path without NUL and a
// date of the right length, and the path written back fully escaped reads as itself.
#include <cstdlib>

#include "shell/bin_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    orvkit::trash_entry entry;
    if (!orvkit::parse_trash_entry(reinterpret_cast<const char*>(data), size, entry)) return 0;
    if (entry.path.empty() || entry.path[0] != '/' || entry.path.find('\0') != std::string::npos) std::abort();
    if (entry.deletion_date.size() != 19) std::abort();
    std::string text = "[Trash Info]\nPath=";
    for (const char c : entry.path) {
        const auto byte = static_cast<unsigned char>(c);
        text += {'%', "0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15]};
    }
    text += "\nDeletionDate=" + entry.deletion_date + "\n";
    orvkit::trash_entry again;
    if (!orvkit::parse_trash_entry(text.data(), text.size(), again) || !(again == entry)) std::abort();
    return 0;
}
