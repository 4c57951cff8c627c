// The persistent options as they lie in the settings file after its 8-byte magic.
// Plain data with a fixed little-endian layout; the file is this block's raw image.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/delete_modes.h"
#include "core/search_modes.h"

namespace orvkit {

struct settings_block {
    static constexpr uint32_t expected_size = 2424;
    static constexpr std::size_t move_dir_units = 1200;

    uint32_t mode = mode_default;      // search mode: 0 File, 1 Directory, 2 Quick Dir, 3 QDir+
    uint32_t match_percentage = 100;   // 50, 75, 90, 95 ... 100
    uint32_t delete_mode = delete_mode_recycle;  // the deletion queue's mode: 0 recycle, 1 delete, 2 move
    uint32_t block_size = expected_size;  // a file is accepted only when this reads 2424
    uint8_t use_hash = 1;
    uint8_t check_zero_length = 1;
    uint8_t remove_empty_dirs = 1;
    uint8_t protect_search_this = 0;   // "Protect Search This Folder"; a reserved byte before, so 0 in older files
    uint8_t reserved_2 = 0;
    uint8_t override_read_only = 0;    // copy of the deletion queue's read-only override
    uint8_t on_top = 0;
    uint8_t padding = 0;
    char16_t move_dir[move_dir_units] = {};  // NUL-terminated copy of the move folder
};

static_assert(sizeof(settings_block) == settings_block::expected_size);
static_assert(offsetof(settings_block, use_hash) == 16);
static_assert(offsetof(settings_block, on_top) == 22);
static_assert(offsetof(settings_block, move_dir) == 24);

}  // namespace orvkit
