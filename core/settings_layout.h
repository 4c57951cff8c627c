// The bytes of the settings file dVelk.dat, with no file system in sight: how a
// file's bytes land in the settings block, which blocks are accepted, and the
// 2432 bytes written back. Plain C++, so every input can be tried in a test.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings_block.h"

namespace orvkit {

constexpr std::size_t settings_magic_bytes = 8;
constexpr std::size_t settings_file_bytes = settings_magic_bytes + sizeof(settings_block);  // 2432
constexpr char settings_magic[] = "VELK2000";                                                // without its NUL

// The options a file hands to the program outside the block (the deletion queue's
// three and the search mode), and whether it was accepted.
struct settings_outside {
    bool accepted = false;
    uint32_t mode = mode_default;
    uint32_t delete_mode = delete_mode_recycle;
    uint8_t override_read_only = 0;
    std::wstring move_dir;  // empty: keep the folder the program already has
};

// Lays `size` bytes of a settings file over `block` (the magic is skipped, not
// compared; a short file leaves the rest of the block as it was), then applies the
// acceptance rule of the size field and puts every option back into its range.
settings_outside apply_settings_bytes(settings_block& block, const uint8_t* bytes, std::size_t size);

// Copies the options held outside the block into it (the move folder cut to 1199
// characters, the units after its terminator zero).
void store_outside_options(settings_block& block, uint32_t mode, uint32_t delete_mode, uint8_t override_read_only,
                           const std::wstring& move_dir);

// The whole file: the magic, then the block's raw image.
std::vector<uint8_t> settings_file_image(const settings_block& block);

// The nearest menu value a percentage is shown at; values outside 50..100 read as 100.
uint32_t sane_match_percentage(uint32_t percentage);

}  // namespace orvkit
