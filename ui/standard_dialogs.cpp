#include "ui/standard_dialogs.h"

#include <commdlg.h>
#include <shellapi.h>

#include "base/long_path.h"
#include "base/owner.h"
#include "core/globals.h"
#include "core/state.h"
#include "shell/known_folders.h"

namespace orvkit {

namespace {

// The dialog writes into picked_path's own characters: as many as edit boxes take.
constexpr std::size_t pick_buffer_chars = 1200;

// Whether `path` names a file that can be opened, not a folder. Shared opening, so
// a file another program holds open still counts.
bool openable_file(const std::wstring& path) {
    if (path.empty()) return false;
    unique_handle file(CreateFileW(system_path(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

// With its trailing backslash: a bare folder name in the dialog's file buffer
// reads as a file "Documents" in the folder above (Wine opens there).
std::wstring documents_folder() {
    std::wstring result = known_folder_path(FOLDERID_Documents);
    if (!result.empty() && result.back() != L'\\') result += L'\\';
    return result;
}

void trim_at_nul(std::wstring& text) {
    const std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
}

}  // namespace

int pick_file(std::shared_ptr<ostrand_state> state, HWND window) {
    if (!state) return 0;
    trim_at_nul(picked_path);
    if (!openable_file(picked_path)) picked_path = documents_folder();
    if (picked_path.size() >= pick_buffer_chars) picked_path.clear();
    picked_path.resize(pick_buffer_chars, L'\0');

    OPENFILENAMEW& dialog = state->open_dialog;
    dialog.lStructSize = sizeof(OPENFILENAMEW);
    dialog.hwndOwner = window;
    dialog.lpstrFilter = L"All Files \0*.*\0";
    dialog.lpstrCustomFilter = nullptr;
    dialog.lpstrFile = picked_path.data();
    dialog.nMaxFile = static_cast<DWORD>(pick_buffer_chars);
    dialog.lpstrTitle = L"Select";
    dialog.Flags = OFN_EXPLORER | OFN_LONGNAMES | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    const BOOL chosen = GetOpenFileNameW(&dialog);

    trim_at_nul(picked_path);
    dialog.lpstrFile = nullptr;
    dialog.nMaxFile = 0;
    return chosen;
}

void show_memory_error() { MessageBoxW(nullptr, L"Memory Error", L"Ostrand", MB_OK); }

std::wstring help_page_path(const ostrand_state& state) { return state.program_path.folder + L"ReadMe.htm"; }

// The shell's answer is not examined: a missing page simply shows nothing.
void open_help(std::shared_ptr<ostrand_state> state) {
    if (!state) return;
    ShellExecuteW(nullptr, nullptr, help_page_path(*state).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace orvkit
