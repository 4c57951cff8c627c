// NUL-terminated texts kept one after another in blocks that never move: a million
// short texts cost their characters and little more, and a pointer to one stays
// good until the arena is cleared.
#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace orvkit {

class text_arena {
public:
    static constexpr std::size_t block_units = 32 * 1024;

    // A copy of `text`, NUL-terminated; a text longer than a block gets a block of its own.
    const wchar_t* keep(std::wstring_view text);
    // Gives every block back.
    void clear();

private:
    std::vector<std::unique_ptr<wchar_t[]>> blocks_;
    wchar_t* next_ = nullptr;  // where the next text goes in the current block
    std::size_t free_ = 0;     // units left there
};

}  // namespace orvkit
