#include "compare/content_classes.h"

#include <algorithm>

#include "base/file_reading.h"
#include "base/long_path.h"

namespace orvkit {

bool content_classes::compare(const file_record& a, const file_record& b, const pair_settings& settings,
                              pair_outcome& result) const {
    if (a.content_class == 0 || b.content_class == 0) return false;
    result = {};
    result.outcome = compare_finished;
    if (a.content_class == b.content_class) {
        result.percent = 100;
        return true;
    }
    // Different bytes: how much they share only the files can tell.
    return settings.match_percentage >= 100;
}

// A record stays in its class's member list exactly while its content_class names
// the class, so a record pruned later is found there by its class alone.
void content_classes::forget_file(file_record& record) {
    const uint32_t id = record.content_class;
    record.content_class = 0;
    for (file_record*& member : members_of(id)) {
        if (!member) continue;
        if (member == &record) {
            member = nullptr;
        } else if (names_removed_file(*member, record)) {
            member->content_class = 0;
            member = nullptr;
        }
    }
}

void content_classes::drop_record(const file_record& record) {
    for (file_record*& member : members_of(record.content_class))
        if (member == &record) member = nullptr;
}

uint32_t content_classes::add_class(std::span<file_record* const> members) {
    const uint32_t id = next_++;
    if (members.size() >= 2) {
        class_ids_.push_back(id);
        class_starts_.push_back(static_cast<uint32_t>(members_.size()));
        members_.insert(members_.end(), members.begin(), members.end());
    }
    return id;
}

std::span<file_record*> content_classes::members_of(uint32_t id) {
    const auto found = std::lower_bound(class_ids_.begin(), class_ids_.end(), id);
    if (id == 0 || found == class_ids_.end() || *found != id) return {};
    const std::size_t at = static_cast<std::size_t>(found - class_ids_.begin());
    const std::size_t end = at + 1 < class_starts_.size() ? class_starts_[at + 1] : members_.size();
    return std::span<file_record*>(members_.data() + class_starts_[at], end - class_starts_[at]);
}

void content_classes::clear() {
    // Swapped out so the memory of a large search is given back, not kept as capacity.
    std::vector<file_record*>().swap(members_);
    std::vector<uint32_t>().swap(class_ids_);
    std::vector<uint32_t>().swap(class_starts_);
    next_ = 1;
}

bool names_removed_file(const file_record& member, const file_record& removed) {
    if (case_key(member.path()) == case_key(removed.path())) return true;
    const bool same_index = member.identity.index_known && removed.identity.index_known &&
                            member.identity.file_index == removed.identity.file_index;
    return same_index && !open_for_reading(member.path());
}

}  // namespace orvkit
