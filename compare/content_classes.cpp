#include "compare/content_classes.h"

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
    const auto found = members_.find(id);
    if (found == members_.end()) return;
    std::erase_if(found->second, [&](file_record* member) {
        if (member == &record) return true;
        if (!names_removed_file(*member, record)) return false;
        member->content_class = 0;
        return true;
    });
}

void content_classes::drop_record(const file_record& record) {
    const auto found = members_.find(record.content_class);
    if (found == members_.end()) return;
    std::erase(found->second, &record);
}

uint32_t content_classes::add_class(const std::vector<file_record*>& members) {
    const uint32_t id = next_++;
    if (members.size() >= 2) members_[id] = members;
    return id;
}

void content_classes::clear() {
    members_.clear();
    next_ = 1;
}

bool names_removed_file(const file_record& member, const file_record& removed) {
    if (case_key(member.path()) == case_key(removed.path())) return true;
    const bool same_index = member.identity.index_known && removed.identity.index_known &&
                            member.identity.file_index == removed.identity.file_index;
    return same_index && !open_for_reading(member.path());
}

}  // namespace orvkit
