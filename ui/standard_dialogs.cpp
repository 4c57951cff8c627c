#include "ui/standard_dialogs.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

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

// The chosen type's extension on a name that has none; the dialog adds it itself
// when it sees lpstrDefExt, this covers a dialog that does not.
void add_missing_extension(std::wstring& path, DWORD type) {
    const std::size_t name_at = path.find_last_of(L"\\/");
    const std::size_t dot = path.rfind(L'.');
    if (dot != std::wstring::npos && (name_at == std::wstring::npos || dot > name_at)) return;
    path += type == save_type_tab_separated ? L".txt" : L".csv";
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

// The buffer holds the longest path the long form reaches.
bool ask_save_path(HWND owner, std::wstring& path, DWORD& type) {
    std::wstring buffer(32768, L'\0');
    path.copy(buffer.data(), std::min(path.size(), buffer.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"CSV (*.csv)\0*.csv\0Tab-separated text (*.txt)\0*.txt\0";
    dialog.nFilterIndex = type == save_type_tab_separated ? save_type_tab_separated : save_type_csv;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = L"Save Results As";
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog)) return false;
    trim_at_nul(buffer);
    type = dialog.nFilterIndex == save_type_tab_separated ? save_type_tab_separated : save_type_csv;
    add_missing_extension(buffer, type);
    path = buffer;
    return true;
}

void show_memory_error() { MessageBoxW(nullptr, L"Memory Error", L"Ostrand", MB_OK); }

std::wstring help_page_path(const ostrand_state& state) { return state.program_path.folder + L"ReadMe.htm"; }

// The shell's answer is not examined: a missing page simply shows nothing.
void open_help(std::shared_ptr<ostrand_state> state) {
    if (!state) return;
    ShellExecuteW(nullptr, nullptr, help_page_path(*state).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace orvkit
