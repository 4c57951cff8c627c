// The "Batch Delete Mode" option: how the deletion queue removes a file. Plain
// values, shared by the queue, the menu and the settings file.
#pragma once
#include <cstdint>

namespace orvkit {

constexpr uint32_t delete_mode_recycle = 0;
constexpr uint32_t delete_mode_delete = 1;
constexpr uint32_t delete_mode_move = 2;

inline bool known_delete_mode(uint32_t mode) { return mode <= delete_mode_move; }

}  // namespace orvkit
