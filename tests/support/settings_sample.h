// A settings file as the program writes it, and what a file's bytes read as.
#pragma once
#include <algorithm>

#include "core/settings_layout.h"

namespace test_support {

using numbers = std::vector<uint32_t>;

// Directory, 97 %, Move, Hash off, zero length off, On Top, the folder given.
inline std::vector<uint8_t> sample_file(const std::wstring& folder = L"D:\\Moved twins") {
    orvkit::settings_block block;
    block.match_percentage = 97;
    block.use_hash = 0;
    block.check_zero_length = 0;
    block.on_top = 1;
    orvkit::store_outside_options(block, 1, 2, 1, folder);
    return orvkit::settings_file_image(block);
}

// Mode, delete mode, read-only override, the move folder's length, match percentage, Hash, zero
// length, empty folders, On Top.
inline numbers read_back(const std::vector<uint8_t>& bytes, std::size_t size = SIZE_MAX) {
    orvkit::settings_block block;
    const orvkit::settings_outside o = orvkit::apply_settings_bytes(block, bytes.data(), std::min(size, bytes.size()));
    return {o.mode, o.delete_mode, o.override_read_only, static_cast<uint32_t>(o.move_dir.size()),
            block.match_percentage, block.use_hash, block.check_zero_length, block.remove_empty_dirs, block.on_top};
}

}  // namespace test_support
