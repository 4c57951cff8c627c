#include "actions/removal_guard.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "search/file_identity.h"

namespace orvkit {

namespace {

constexpr DWORD read_piece_bytes = 1 << 20;

bool known(const file_identity& identity) { return identity.index_known && identity.volume_known; }

bool same_identity(const file_identity& a, const file_identity& b) {
    return known(a) && known(b) && a.file_index == b.file_index && a.volume_serial == b.volume_serial;
}

bool opens(const std::wstring& path) { return static_cast<bool>(open_for_reading(path)); }

uint32_t submit(DeleteQueue& queue, const std::wstring& file, const removal_options* options) {
    return options ? queue.submit(file, *options) : queue.submit(file);
}

}  // namespace

removal_verdict removal_guard::check(const std::wstring& file, const std::wstring& partner) const {
    return check(file, identity_of(file), partner);
}

// The order matters: a file already on its way out, or gone, is no candidate; a
// partner that is the file itself proves nothing; a partner already on its way out
// will not stay; only then are the bytes read, the one proof that the partner still
// holds them.
removal_verdict removal_guard::check(const std::wstring& file, const file_identity& identity,
                                     const std::wstring& partner) const {
    if (handed_path(file)) return removal_verdict::already_removed;
    if (handed_identity(identity)) return removal_verdict::other_name_removed;
    if (!opens(file)) return removal_verdict::file_gone;
    if (partner.empty() || !opens(partner)) return removal_verdict::partner_missing;
    const file_identity partner_identity = identity_of(partner);
    if (case_key(file) == case_key(partner) || same_identity(identity, partner_identity))
        return removal_verdict::same_file;
    if (handed_path(partner) || handed_identity(partner_identity)) return removal_verdict::partner_removed;
    return equal_contents(file, partner) ? removal_verdict::partner_stays : removal_verdict::partner_changed;
}

// The file is remembered only once the queue took it: a refused request leaves it
// in the tree, where it may still be the copy another removal keeps.
removal_verdict removal_guard::remove(DeleteQueue& queue, const std::wstring& file, const std::wstring& partner,
                                      const removal_options* options) {
    const file_identity identity = identity_of(file);
    const removal_verdict verdict = check(file, identity, partner);
    if (verdict != removal_verdict::partner_stays) return verdict;
    if (submit(queue, file, options) != delete_done) return removal_verdict::queue_failed;
    paths_.insert(case_key(file));
    if (known(identity)) identities_.insert({identity.volume_serial, identity.file_index});
    return removal_verdict::removed;
}

bool removal_guard::handed_path(const std::wstring& path) const { return paths_.count(case_key(path)) > 0; }

bool removal_guard::handed_identity(const file_identity& identity) const {
    return known(identity) && identities_.count({identity.volume_serial, identity.file_index}) > 0;
}

bool equal_contents(const std::wstring& first, const std::wstring& second) {
    unique_handle a = open_for_reading(first), b = open_for_reading(second);
    uint64_t size_a = 0, size_b = 0;
    if (!a || !b || !size_of_open_file(a.get(), size_a) || !size_of_open_file(b.get(), size_b) || size_a != size_b) return false;
    // Pieces no larger than the file: a search may check thousands of small files.
    const DWORD piece = static_cast<DWORD>(std::min<uint64_t>(size_a, read_piece_bytes));
    std::vector<uint8_t> piece_a(piece), piece_b(piece);
    uint64_t remaining = size_a;
    while (remaining > 0) {
        DWORD got_a = 0, got_b = 0;
        if (!ReadFile(a.get(), piece_a.data(), piece, &got_a, nullptr) ||
            !ReadFile(b.get(), piece_b.data(), piece, &got_b, nullptr))
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
