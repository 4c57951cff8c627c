#include "base/text_arena.h"

#include <algorithm>

namespace orvkit {

const wchar_t* text_arena::keep(std::wstring_view text) {
    const std::size_t units = text.size() + 1;
    wchar_t* kept = nullptr;
    if (units > block_units) {
        kept = blocks_.emplace_back(new wchar_t[units]).get();
    } else {
        if (units > free_) {
            next_ = blocks_.emplace_back(new wchar_t[block_units]).get();
            free_ = block_units;
        }
        kept = next_;
        next_ += units;
        free_ -= units;
    }
    std::copy(text.begin(), text.end(), kept);
    kept[text.size()] = L'\0';
    return kept;
}

void text_arena::clear() {
    std::vector<std::unique_ptr<wchar_t[]>>().swap(blocks_);
    next_ = nullptr;
    free_ = 0;
}

}  // namespace orvkit
