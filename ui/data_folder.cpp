#include "ui/data_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "base/long_path.h"
#include "base/owner.h"
#include "core/state.h"

namespace orvkit {

namespace {

constexpr DWORD defset_bytes = 128;

// The module's own path, however long: GetModuleFileNameW fills the buffer to the
// brim and cuts the name when it is too small, so grow until it fits.
std::wstring module_file() {
    std::wstring path(1200, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

// "<roaming application data>\Orvane\<app_name>\", made if missing; empty when
// the shell cannot name the application-data folder.
std::wstring per_user_folder(const std::wstring& app_name) {
    wchar_t roaming[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, roaming, CSIDL_APPDATA, FALSE) || !roaming[0]) return {};
    std::wstring folder = std::wstring(roaming) + L"\\Orvane";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\" + app_name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

}  // namespace

// The program's own file is asked of the loader rather than searched for by name,
// so a renamed program, or another "Ostrand.exe" on the search path, cannot
// mislead it.
int locate_folders(std::shared_ptr<ostrand_state> state) {
    if (!state) return 0;
    const std::wstring program = module_file();
    if (program.empty()) return 0;
    path_parts parts;
    parts = program;
    return locate_folders_at(*state, program, GetDriveTypeW(parts.root.c_str()) == DRIVE_REMOVABLE);
}

// The marker's content means nothing; its first bytes are kept as they are.
int locate_folders_at(ostrand_state& state, const std::wstring& program_file, bool removable_drive) {
    state.program_path = program_file;
    if (!removable_drive) {
        const std::wstring marker = system_path(state.program_path.folder + L"DefSet.txt");
        unique_handle file(CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            DWORD got = 0;
            if (state.defset_buffer) ReadFile(file.get(), state.defset_buffer.get(), defset_bytes, &got, nullptr);
            file.reset();
            const std::wstring folder = per_user_folder(state.app_name.empty() ? L"Ostrand" : state.app_name);
            if (!folder.empty()) state.data_path = folder;
        }
    }
    if (state.data_path.full.empty()) state.data_path = state.program_path.folder;
    return 0;
}

}  // namespace orvkit
