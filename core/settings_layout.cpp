#include "core/settings_layout.h"

#include <algorithm>
#include <cstring>

#include "core/delete_modes.h"
#include "core/search_modes.h"

namespace orvkit {

namespace {

constexpr uint32_t lowest_percentage = 50;
constexpr uint32_t highest_percentage = 100;

uint8_t as_flag(uint8_t byte) { return byte ? 1 : 0; }

}  // namespace

// A percentage below 50 would list files that share a single byte as twins, and
// with automatic removal on remove files that are not duplicates: only 50..100
// are taken. A value between the menu's steps (80) stays, the menu marks "90%".
uint32_t sane_match_percentage(uint32_t percentage) {
    return percentage >= lowest_percentage && percentage <= highest_percentage ? percentage : highest_percentage;
}

// The flags keep their meaning (any non-zero byte switched the option on) as 0 or
// 1, so the menu's check mark and its flip agree with what the search does. A mode
// or delete mode nobody knows falls back to its default: Quick Dir, the recycle bin.
settings_outside apply_settings_bytes(settings_block& block, const uint8_t* bytes, std::size_t size) {
    if (bytes && size > settings_magic_bytes) {
        const std::size_t count = std::min(size - settings_magic_bytes, sizeof(settings_block));
        std::memcpy(reinterpret_cast<uint8_t*>(&block), bytes + settings_magic_bytes, count);
    }
    settings_outside outside;
    outside.accepted = block.block_size == settings_block::expected_size;
    if (outside.accepted) {
        block.match_percentage = sane_match_percentage(block.match_percentage);
        if (!known_mode(block.mode)) block.mode = mode_default;
        if (!known_delete_mode(block.delete_mode)) block.delete_mode = delete_mode_recycle;
        block.use_hash = as_flag(block.use_hash);
        block.override_read_only = as_flag(block.override_read_only);
        block.on_top = as_flag(block.on_top);
        block.protect_search_this = as_flag(block.protect_search_this);
        outside.mode = block.mode;
        outside.delete_mode = block.delete_mode;
        outside.override_read_only = block.override_read_only;
        std::size_t length = 0;
        while (length < settings_block::move_dir_units - 1 && block.move_dir[length]) ++length;
        outside.move_dir.assign(block.move_dir, block.move_dir + length);
    } else {
        block.on_top = 0;
        block.protect_search_this = 0;
        block.mode = mode_default;
        block.use_hash = 1;
        block.match_percentage = highest_percentage;
        block.override_read_only = 0;
        block.delete_mode = delete_mode_recycle;
        block.block_size = settings_block::expected_size;
    }
    block.check_zero_length = as_flag(block.check_zero_length);
    block.remove_empty_dirs = as_flag(block.remove_empty_dirs);
    return outside;
}

void store_outside_options(settings_block& block, uint32_t mode, uint32_t delete_mode, uint8_t override_read_only,
                           const std::wstring& move_dir) {
    block.mode = mode;
    block.delete_mode = delete_mode;
    block.override_read_only = override_read_only;
    std::fill(std::begin(block.move_dir), std::end(block.move_dir), u'\0');
    const std::size_t length = std::min(move_dir.size(), settings_block::move_dir_units - 1);
    std::copy(move_dir.begin(), move_dir.begin() + static_cast<std::ptrdiff_t>(length), block.move_dir);
}

std::vector<uint8_t> settings_file_image(const settings_block& block) {
    std::vector<uint8_t> image(settings_file_bytes);
    std::memcpy(image.data(), settings_magic, settings_magic_bytes);
    std::memcpy(image.data() + settings_magic_bytes, &block, sizeof(settings_block));
    return image;
}

}  // namespace orvkit
