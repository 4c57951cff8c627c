// A minimal PNG writer for screenshots taken by tests: 8-bit RGB, zlib "stored"
// (uncompressed) blocks, CRC-32 and Adler-32 computed here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

uint32_t crc32(const uint8_t* data, std::size_t size, uint32_t crc = 0);
uint32_t adler32(const uint8_t* data, std::size_t size);

// `pixels` holds width x height values 0x00RRGGBB, rows top-down. Returns the file bytes.
std::vector<uint8_t> encode_png(int width, int height, const std::vector<uint32_t>& pixels);

// Writes the PNG into the folder named by OSTRAND_TEST_OUTPUT (nothing when unset).
// Returns the Windows path written, or an empty string.
std::wstring save_png(const std::wstring& file_name, int width, int height, const std::vector<uint32_t>& pixels);

}  // namespace test_support
