// The four modes of the switch and what each shows.
#pragma once
#include <cstdint>

namespace orvkit {

constexpr uint32_t mode_file = 0;        // two files, byte for byte
constexpr uint32_t mode_directory = 1;   // one tree, pairs of equal size
constexpr uint32_t mode_quick_dir = 2;   // one tree, equal size and checksum
constexpr uint32_t mode_qdir_plus = 3;   // two trees
constexpr uint32_t mode_default = mode_quick_dir;

// A mode from a foreign settings file may lie outside the switch's four.
inline bool known_mode(uint32_t mode) { return mode <= mode_qdir_plus; }
// Whether a mode uses the second path box (File and QDir+).
inline bool mode_uses_path_b(uint32_t mode) { return mode == mode_file || mode == mode_qdir_plus; }
// The captions painted beside path box A and path box B (B's empty where it is hidden).
inline const wchar_t* caption_a(uint32_t mode) { return mode == mode_file ? L"Compare this" : L"Search this"; }
inline const wchar_t* caption_b(uint32_t mode) {
    return mode == mode_file ? L"With this" : mode == mode_qdir_plus ? L"plus this" : L"";
}
// Shows edit box B in the modes that use it and hides it in the others.
void show_path_box_b(uint32_t mode);

}  // namespace orvkit
