// Opening a file for its content, its size, reading it whole and writing a whole block: the same calls
// for the comparison, the checksum pass, the grouped comparison and the dialogs,
// so the same files fail everywhere.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/long_path.h"
#include "base/owner.h"

namespace orvkit {

// Shared for reading, through the long form of the path. `flags` may add a hint
// such as FILE_FLAG_SEQUENTIAL_SCAN.
inline unique_handle open_for_reading(const std::wstring& path, DWORD flags = 0) {
    return unique_handle(CreateFileW(long_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | flags, nullptr));
}

// Whether anything, file or folder, stands at `path`.
inline bool path_exists(const std::wstring& path) {
    return GetFileAttributesW(long_path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The size of a file by its path; 0 when it cannot be had.
inline uint64_t size_of_file(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(long_path(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

// The size of an open file; false (and `size` untouched) when it cannot be had.
inline bool size_of_open_file(HANDLE file, uint64_t& size) {
    LARGE_INTEGER value{};
    if (!GetFileSizeEx(file, &value)) return false;
    size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

// Reads up to `length` bytes into `target`, in as many calls as it takes; the count
// read, less than `length` when the file ends early or a read fails.
inline std::size_t read_whole(HANDLE file, uint8_t* target, std::size_t length) {
    constexpr std::size_t largest_read = std::size_t{1} << 30;  // ReadFile counts in a DWORD
    std::size_t got = 0;
    while (got < length) {
        DWORD delivered = 0;
        const DWORD want = static_cast<DWORD>(std::min(length - got, largest_read));
        if (!ReadFile(file, target + got, want, &delivered, nullptr) || delivered == 0) break;
        got += delivered;
    }
    return got;
}

// Makes the folders above `path` that are missing (a removal of empty folders may
// have taken them), so that a file can be put back there.
inline void make_parent_folders(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(long_path(path.substr(0, at)).c_str(), nullptr);
}

// Writes `length` bytes from `source`, in as many calls as it takes; false when a
// write fails or stops short.
inline bool write_whole(HANDLE file, const void* source, std::size_t length) {
    constexpr std::size_t largest_write = std::size_t{1} << 30;  // WriteFile counts in a DWORD
    const auto* bytes = static_cast<const uint8_t*>(source);
    std::size_t done = 0;
    while (done < length) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min(length - done, largest_write));
        if (!WriteFile(file, bytes + done, want, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace orvkit
