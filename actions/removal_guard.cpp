#include "actions/removal_guard.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "core/file_identity.h"

namespace orvkit {

namespace {

constexpr DWORD read_piece_bytes = 1 << 20;

// The index comes from one cheap query; the whole identity only where that fails.
file_identity identity_of_open(HANDLE file) {
    file_identity identity;
    read_file_index(file, identity);
    if (!identity.index_known) read_full_identity(file, identity);
    return identity;
}

// Equal indexes name one file unless their volumes are known to differ; the volume
// is dear to read, so only then is it read.
bool same_open_file(HANDLE a, file_identity& id_a, HANDLE b, file_identity& id_b) {
    if (!id_a.index_known || !id_b.index_known || id_a.file_index != id_b.file_index) return false;
    read_full_identity(a, id_a);
    read_full_identity(b, id_b);
    return !id_a.volume_known || !id_b.volume_known || id_a.volume_serial == id_b.volume_serial;
}

bool equal_open_contents(HANDLE a, HANDLE b) {
    uint64_t size_a = 0, size_b = 0;
    if (!size_of_open_file(a, size_a) || !size_of_open_file(b, size_b) || size_a != size_b) return false;
    // Pieces no larger than the file: a search may check thousands of small files.
    const DWORD piece = static_cast<DWORD>(std::min<uint64_t>(size_a, read_piece_bytes));
    std::vector<uint8_t> piece_a(piece), piece_b(piece);
    uint64_t remaining = size_a;
    while (remaining > 0) {
        DWORD got_a = 0, got_b = 0;
        if (!ReadFile(a, piece_a.data(), piece, &got_a, nullptr) || !ReadFile(b, piece_b.data(), piece, &got_b, nullptr))
            return false;
        // A short or empty read before the end: the file shrank, so it is not what was sized.
        if (got_a != got_b || got_a == 0) return false;
        if (std::memcmp(piece_a.data(), piece_b.data(), got_a) != 0) return false;
        remaining -= got_a < remaining ? got_a : remaining;
    }
    // Anything past the measured end means a file grew while it was read.
    DWORD extra_a = 0, extra_b = 0;
    uint8_t probe = 0;
    ReadFile(a, &probe, 1, &extra_a, nullptr);
    ReadFile(b, &probe, 1, &extra_b, nullptr);
    return extra_a == 0 && extra_b == 0;
}

// A recycled file is journalled when it is queued: the recycle bin takes it at the
// batch's end.
void journal_removal(journal_batch& journal, const std::wstring& file, const std::wstring& partner,
                     const removal_options& how, uint64_t size) {
    switch (how.delete_mode) {
    case delete_mode_move:
        journal.record(journal_action::moved, file, move_target(file, how.move_dir), partner, size);
        break;
    case delete_mode_delete: journal.record(journal_action::deleted, file, {}, partner, size); break;
    default: journal.record(journal_action::recycled, file, {}, partner, size); break;
    }
}

uint32_t submit(DeleteQueue& queue, const std::wstring& file, const removal_options* options) {
    return options ? queue.submit(file, *options) : queue.submit(file);
}

}  // namespace

removal_verdict removal_guard::check(const std::wstring& file, const std::wstring& partner) const {
    file_identity identity;
    return check(file, partner, identity);
}

// The order matters: a file already on its way out, or gone, is no candidate; a
// partner that is the file itself proves nothing; a partner already on its way out
// will not stay; only then are the bytes read, the one proof that the partner still
// holds them. Each file is opened once, and both are closed again before the queue
// removes one of them.
removal_verdict removal_guard::check(const std::wstring& file, const std::wstring& partner,
                                     file_identity& identity) const {
    if (handed_path(file)) return removal_verdict::already_removed;
    const unique_handle opened = open_for_reading(file);
    if (!opened) return removal_verdict::file_gone;
    identity = identity_of_open(opened.get());
    if (handed_identity(identity)) return removal_verdict::other_name_removed;
    const unique_handle kept = partner.empty() ? unique_handle() : open_for_reading(partner);
    if (!kept) return removal_verdict::partner_missing;
    file_identity partner_identity = identity_of_open(kept.get());
    if (case_key(file) == case_key(partner) || same_open_file(opened.get(), identity, kept.get(), partner_identity))
        return removal_verdict::same_file;
    if (handed_path(partner) || handed_identity(partner_identity)) return removal_verdict::partner_removed;
    return equal_open_contents(opened.get(), kept.get()) ? removal_verdict::partner_stays
                                                         : removal_verdict::partner_changed;
}

// The file is remembered only once the queue took it: a refused request leaves it
// in the tree, where it may still be the copy another removal keeps.
removal_verdict removal_guard::remove(DeleteQueue& queue, const std::wstring& file, const std::wstring& partner,
                                      const removal_options* options) {
    file_identity identity;
    const removal_verdict verdict = check(file, partner, identity);
    if (verdict != removal_verdict::partner_stays) return verdict;
    const uint64_t size = journal_ ? size_of_file(file) : 0;
    if (submit(queue, file, options) != delete_done) return removal_verdict::queue_failed;
    if (journal_) journal_removal(*journal_, file, partner, options ? *options : queue.options(), size);
    paths_.insert(case_key(file));
    if (identity.index_known) indexes_.insert(identity.file_index);
    return removal_verdict::removed;
}

bool removal_guard::handed_path(const std::wstring& path) const { return paths_.count(case_key(path)) > 0; }

// By index alone: the volume is dear to read, and a file of another volume with the
// same index is then kept, never removed.
bool removal_guard::handed_identity(const file_identity& identity) const {
    return identity.index_known && indexes_.count(identity.file_index) > 0;
}

bool equal_contents(const std::wstring& first, const std::wstring& second) {
    const unique_handle a = open_for_reading(first), b = open_for_reading(second);
    return a && b && equal_open_contents(a.get(), b.get());
}

}  // namespace orvkit
