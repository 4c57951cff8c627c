#include "actions/twin_recheck.h"

#include <cstring>
#include <vector>

#include "base/file_reading.h"
#include "base/owner.h"
#include "search/file_identity.h"
#include "base/long_path.h"

namespace orvkit {

namespace {

constexpr DWORD read_piece_bytes = 1 << 20;

bool known(const file_identity& identity) { return identity.index_known && identity.volume_known; }

bool same_identity(const file_identity& a, const file_identity& b) {
    return known(a) && known(b) && a.file_index == b.file_index && a.volume_serial == b.volume_serial;
}

bool files_open(const std::wstring& path) { return static_cast<bool>(open_for_reading(path)); }

}  // namespace

void handed_files::add(const std::wstring& path, const file_identity& identity) {
    paths_.insert(case_key(path));
    if (known(identity)) identities_.insert({identity.volume_serial, identity.file_index});
}

bool handed_files::holds(const std::wstring& path, const file_identity& identity) const {
    if (paths_.count(case_key(path))) return true;
    return known(identity) && identities_.count({identity.volume_serial, identity.file_index}) > 0;
}

// The order matters: a file already handed over (it stands in several rows), or gone,
// is no candidate; a twin
// that is the file itself proves nothing; a twin already handed over will not stay;
// only then is the content read, the one proof that the twin still holds the bytes.
twin_verdict recheck_twin(const std::wstring& file, const file_identity& identity, const std::wstring& twin,
                          const handed_files& handed) {
    if (handed.holds(file, identity) || !files_open(file)) return twin_verdict::file_gone;
    if (twin.empty() || !files_open(twin)) return twin_verdict::twin_missing;
    const file_identity twin_identity = identity_of(twin);
    if (case_key(file) == case_key(twin) || same_identity(identity, twin_identity))
        return twin_verdict::same_file;
    if (handed.holds(twin, twin_identity)) return twin_verdict::twin_removed;
    return equal_contents(file, twin) ? twin_verdict::still_twin : twin_verdict::twin_changed;
}

bool equal_contents(const std::wstring& first, const std::wstring& second) {
    unique_handle a = open_for_reading(first), b = open_for_reading(second);
    uint64_t size_a = 0, size_b = 0;
    if (!a || !b || !size_of_open_file(a.get(), size_a) || !size_of_open_file(b.get(), size_b) || size_a != size_b) return false;
    std::vector<uint8_t> piece_a(read_piece_bytes), piece_b(read_piece_bytes);
    uint64_t remaining = size_a;
    while (remaining > 0) {
        DWORD got_a = 0, got_b = 0;
        if (!ReadFile(a.get(), piece_a.data(), read_piece_bytes, &got_a, nullptr) ||
            !ReadFile(b.get(), piece_b.data(), read_piece_bytes, &got_b, nullptr))
            return false;
        // A short or empty read before the end: the file shrank, so it is not what was sized.
        if (got_a != got_b || got_a == 0) return false;
        if (std::memcmp(piece_a.data(), piece_b.data(), got_a) != 0) return false;
        remaining -= got_a < remaining ? got_a : remaining;
    }
    // Anything past the measured end means a file grew while it was read.
    DWORD extra_a = 0, extra_b = 0;
    uint8_t probe = 0;
    ReadFile(a.get(), &probe, 1, &extra_a, nullptr);
    ReadFile(b.get(), &probe, 1, &extra_b, nullptr);
    return extra_a == 0 && extra_b == 0;
}

}  // namespace orvkit
