#include "base/text_set.h"

#include <algorithm>

namespace orvkit {

namespace {

uint32_t hash_of(std::wstring_view text) {
    uint32_t hash = 2166136261u;
    for (const wchar_t unit : text) {
        hash ^= static_cast<uint16_t>(unit);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace

// Doubles the table (at least 1,024 slots) and places every text again by its hash.
void text_set::grow_table() {
    std::vector<text_id> grown(std::max<std::size_t>(1024, table_.size() * 2), 0);
    const std::size_t mask = grown.size() - 1;
    for (text_id id = 0; id < texts_.size(); ++id) {
        std::size_t slot = texts_[id].hash & mask;
        while (grown[slot]) slot = (slot + 1) & mask;
        grown[slot] = id + 1;
    }
    table_.swap(grown);
}

std::size_t text_set::slot_of(std::wstring_view text, uint32_t hash) const {
    const std::size_t mask = table_.size() - 1;
    std::size_t slot = hash & mask;
    for (; table_[slot]; slot = (slot + 1) & mask) {
        const kept_text& kept = texts_[table_[slot] - 1];
        if (kept.hash == hash && kept.view() == text) break;
    }
    return slot;
}

text_set::text_id text_set::intern(std::wstring_view text) {
    if (table_.empty()) grow_table();
    const uint32_t hash = hash_of(text);
    const std::size_t slot = slot_of(text, hash);
    if (table_[slot]) return table_[slot] - 1;
    const text_id id = static_cast<text_id>(texts_.size());
    texts_.push_back({units_.keep(text), static_cast<uint32_t>(text.size()), hash});
    table_[slot] = id + 1;
    if (texts_.size() * 2 > table_.size()) grow_table();
    return id;
}

text_set::text_id text_set::find(std::wstring_view text) const {
    if (table_.empty()) return none;
    const std::size_t slot = slot_of(text, hash_of(text));
    return table_[slot] ? table_[slot] - 1 : none;
}

void text_set::clear() {
    texts_.clear();
    std::vector<text_id>().swap(table_);
    units_.clear();
}

}  // namespace orvkit
