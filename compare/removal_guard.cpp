#include "compare/removal_guard.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "core/file_identity.h"
#include "shell/recycle_bin.h"

namespace orvkit {

namespace {

constexpr DWORD read_piece_bytes = 1 << 20;

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

journal_action done_action(uint32_t delete_mode) {
    return delete_mode == delete_mode_move ? journal_action::moved : journal_action::deleted;
}

}  // namespace

removal_verdict removal_guard::check(const std::wstring& file, const std::wstring& partner) const {
    file_identity identity;
    uint64_t size = 0;
    if (handed_path(file)) return removal_verdict::already_removed;
    return check(file, partner, false, identity, size);
}

// The order matters: a file already on its way out under another name, or gone, is
// no candidate; a partner that is the file itself proves nothing; a partner already
// on its way out will not stay; only then are the bytes read, the one proof that the
// partner still holds them. Both files are held open together (see hold_pair) and
// closed again before the queue removes one of them.
removal_verdict removal_guard::check(const std::wstring& file, const std::wstring& partner, bool queued,
                                     file_identity& identity, uint64_t& size) const {
    const held_pair pair = hold_pair(file, partner.empty() ? file : partner);
    if (!pair.file) return removal_verdict::file_gone;
    identity = pair.file_id;
    size_of_open_file(pair.file.get(), size);
    if (partner.empty()) return removal_verdict::partner_missing;
    if (pair.identity == pair_identity::same) return removal_verdict::same_file;
    if (!pair.partner) return removal_verdict::partner_missing;
    if (pair.identity == pair_identity::unknown) return removal_verdict::identity_unknown;
    // Another name of a file handed over is on its way out too: the file itself
    // (kept, as its other name goes) or the partner (which will not stay).
    if (!queued && handed_identity(identity)) return removal_verdict::other_name_removed;
    if (handed_path(partner) || handed_identity(pair.partner_id)) return removal_verdict::partner_removed;
    return equal_open_contents(pair.file.get(), pair.partner.get()) ? removal_verdict::partner_stays
                                                                    : removal_verdict::partner_changed;
}

// A delete or a move is journalled before it is tried and after it, so the journal
// holds whatever happened in between; the file is remembered only once it has left
// its path: a refused request leaves it in the tree, where it may still be the copy
// another removal keeps. A recycled file is journalled when the list is sent.
removal_verdict removal_guard::remove(DeleteQueue& queue, const std::wstring& file, const std::wstring& partner,
                                      const removal_options* options) {
    file_identity identity;
    uint64_t size = 0;
    const removal_verdict verdict = admit(file, partner, identity, size);
    if (verdict != removal_verdict::partner_stays) return verdict;
    const removal_options how = options ? *options : queue.options_for_batch();
    if (how.delete_mode == delete_mode_recycle) {
        if (queue.submit(file, how) != delete_done) return removal_verdict::queue_failed;
        pending_at_[case_key(file)] = pending_.size();
        pending_.push_back({file, {partner}, size, {}});
    } else {
        const journal_action done = done_action(how.delete_mode);
        const std::wstring target = done == journal_action::moved ? move_target(file, how.move_dir) : std::wstring();
        if (journal_) journal_->record(intent_of(done), file, target, partner, size);
        if (queue.submit(file, how) != delete_done) {
            if (journal_) journal_->record(journal_action::failed, file, target, partner, size);
            return removal_verdict::queue_failed;
        }
        if (journal_) journal_->record(done, file, target, partner, size);
    }
    remember(file, identity);
    return how.delete_mode == delete_mode_recycle ? removal_verdict::queued : removal_verdict::removed;
}

removal_verdict removal_guard::mark(const std::wstring& file, const std::wstring& partner) {
    file_identity identity;
    uint64_t size = 0;
    const removal_verdict verdict = admit(file, partner, identity, size);
    if (verdict != removal_verdict::partner_stays) return verdict;
    remember(file, identity);
    return removal_verdict::marked;
}

// A file named again by a later row adds that row's file to the copies a queued
// file may be kept against when the list is sent.
removal_verdict removal_guard::admit(const std::wstring& file, const std::wstring& partner, file_identity& identity,
                                     uint64_t& size) {
    if (is_protected(file)) return removal_verdict::protected_file;
    if (handed_path(file)) {
        const auto queued = pending_at_.find(case_key(file));
        if (queued != pending_at_.end()) {
            std::vector<std::wstring>& partners = pending_[queued->second].partners;
            if (std::find(partners.begin(), partners.end(), partner) == partners.end()) partners.push_back(partner);
        }
        return removal_verdict::already_removed;
    }
    return check(file, partner, false, identity, size);
}

void removal_guard::remember(const std::wstring& file, const file_identity& identity) {
    paths_[case_key(file)] = identity.index_known ? identity.file_index : 0;
    if (identity.index_known) indexes_.insert(identity.file_index);
}

bool removal_guard::is_protected(const std::wstring& path) const {
    return !protected_folder_.empty() && path_is_under(path, protected_folder_);
}

// The first of its partners that stays and still holds its bytes: the row's own
// twin where it stays, else another copy the rows paired it with.
removal_verdict removal_guard::vet(pending_file& file) const {
    removal_verdict why = removal_verdict::partner_removed;
    for (const std::wstring& partner : file.partners) {
        if (handed_path(partner)) continue;
        file_identity identity;
        uint64_t size = 0;
        const removal_verdict verdict = check(file.path, partner, true, identity, size);
        if (verdict == removal_verdict::partner_stays) {
            file.kept = partner;
            file.size = size;
            return removal_verdict::partner_stays;
        }
        why = verdict;
    }
    return why;
}

std::vector<removal_outcome> removal_guard::flush(DeleteQueue& queue) {
    std::vector<removal_verdict> kept_why(pending_.size(), removal_verdict::queue_failed);
    std::vector<bool> sent(pending_.size(), false);
    const uint64_t since = ticks_now();
    const recycle_vetting vetting = [&](const std::wstring& path) {
        const auto found = pending_at_.find(case_key(path));
        if (found == pending_at_.end()) return false;
        pending_file& file = pending_[found->second];
        kept_why[found->second] = vet(file);
        if (kept_why[found->second] != removal_verdict::partner_stays) return false;
        if (journal_) journal_->record(journal_action::recycling, file.path, {}, file.kept, file.size);
        sent[found->second] = true;
        return true;
    };
    queue.flush_locked(vetting);
    std::vector<std::wstring> left;
    for (std::size_t i = 0; i < pending_.size(); ++i)
        if (sent[i] && !path_exists(pending_[i].path)) left.push_back(pending_[i].path);
    recent_bin_items bin(left, since);
    std::vector<removal_outcome> outcomes;
    for (std::size_t i = 0; i < pending_.size(); ++i) outcomes.push_back(settle(pending_[i], sent[i], kept_why[i], bin));
    pending_.clear();
    pending_at_.clear();
    return outcomes;
}

// A sent file that left its path is removed: into the bin, where the journal names
// its item, or destroyed, when the user let the shell do so. One still in place was
// refused; it goes back to being a file of the tree.
removal_outcome removal_guard::settle(const pending_file& file, bool sent, removal_verdict kept_why,
                                      recent_bin_items& bin) {
    removal_outcome outcome{file.path, kept_why, file.size};
    if (sent && !path_exists(file.path)) {
        outcome.verdict = removal_verdict::removed;
        if (journal_) record_recycled(*journal_, file.path, file.kept, file.size, bin);
        return outcome;
    }
    if (sent) {
        outcome.verdict = removal_verdict::queue_failed;
        if (journal_) journal_->record(journal_action::failed, file.path, {}, file.kept, file.size);
    }
    forget(file.path);
    return outcome;
}

void removal_guard::forget(const std::wstring& path) {
    const auto found = paths_.find(case_key(path));
    if (found == paths_.end()) return;
    const auto index = indexes_.find(found->second);
    if (found->second != 0 && index != indexes_.end()) indexes_.erase(index);
    paths_.erase(found);
}

bool removal_guard::handed_path(const std::wstring& path) const { return paths_.count(case_key(path)) > 0; }

// By index alone: the volume is dear to read, and a file of another volume with the
// same index is then kept, never removed.
bool removal_guard::handed_identity(const file_identity& identity) const {
    return identity.index_known && indexes_.count(identity.file_index) > 0;
}

void record_recycled(journal_batch& journal, const std::wstring& path, const std::wstring& partner, uint64_t size,
                     recent_bin_items& bin) {
    bin_item item;
    if (bin.take(path, size, item)) {
        journal.record(journal_action::recycled, path, item.item, partner, size, item.time);
    } else {
        journal.record(journal_action::deleted, path, {}, partner, size);
    }
}

bool equal_contents(const std::wstring& first, const std::wstring& second) {
    const unique_handle a = open_for_reading(first), b = open_for_reading(second);
    return a && b && equal_open_contents(a.get(), b.get());
}

}  // namespace orvkit
