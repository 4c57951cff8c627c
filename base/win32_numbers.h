// Small conversions of the values Win32 structures hand over.
#pragma once
#include <windows.h>

#include <cstdint>

namespace orvkit {

// The two 32-bit halves that Win32 structures split 64-bit sizes and indexes into.
inline uint64_t join_halves(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

}  // namespace orvkit
