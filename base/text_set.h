// Distinct texts, each kept once: its units in a text arena, found again through an
// open-addressing table. Nothing is a heap block of its own, so a million texts
// neither cost a block each nor leave the heap full of holes when they go, and a
// kept text stays where it is until the set is cleared.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/block_array.h"
#include "base/text_arena.h"

namespace orvkit {

// One text of a set, NUL-terminated.
struct kept_text {
    const wchar_t* units;
    uint32_t length;
    uint32_t hash;

    const wchar_t* data() const { return units; }
    std::size_t size() const { return length; }
    std::wstring_view view() const { return {units, length}; }
};

class text_set {
public:
    using text_id = uint32_t;
    static constexpr text_id none = UINT32_MAX;

    // The number of `text`, kept when new; numbers count up from 0.
    text_id intern(std::wstring_view text);
    // The number of `text`, or none when it is not kept.
    text_id find(std::wstring_view text) const;
    const kept_text& operator[](text_id id) const { return texts_[id]; }
    // Gives every text back.
    void clear();

private:
    // The slot of `text` in the table: where it is, or the empty slot it would take.
    std::size_t slot_of(std::wstring_view text, uint32_t hash) const;
    void grow_table();

    block_array<kept_text, 4096> texts_;
    std::vector<text_id> table_;  // a text's number plus one; 0: an empty slot
    text_arena units_;
};

}  // namespace orvkit
