#include "base/file_replace.h"

#include <atomic>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"

namespace orvkit {

// The scratch file is named for this process and this call, so two windows saving
// to one folder at once never write into each other's file. It is flushed before
// the move: MOVEFILE_WRITE_THROUGH waits for the rename, not for the data.
DWORD replace_file_contents(const std::wstring& path, const std::string& bytes) {
    static std::atomic<uint32_t> calls{0};
    const std::wstring scratch =
        path + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++calls) + L".tmp";
    const std::wstring target_name = system_path(path);
    const std::wstring scratch_name = system_path(scratch);
    DWORD error = 0;
    {
        unique_handle file(CreateFileW(scratch_name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return GetLastError();
        if (!write_whole(file.get(), bytes.data(), bytes.size()) || !FlushFileBuffers(file.get()))
            error = GetLastError();
    }
    if (!error && !MoveFileExW(scratch_name.c_str(), target_name.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error) DeleteFileW(scratch_name.c_str());
    return error;
}

}  // namespace orvkit
