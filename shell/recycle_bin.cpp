#include "shell/recycle_bin.h"

#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <unordered_set>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "base/win32_numbers.h"
#include "shell/bin_records.h"

namespace orvkit {

namespace {

constexpr std::size_t largest_record_bytes = 64 * 1024;

// Wine's own path conversions: present only under Wine, where the recycle bin is the
// freedesktop trash of the Linux user.
using to_unix_name = char*(CDECL*)(LPCWSTR);
using to_dos_name = WCHAR*(CDECL*)(LPCSTR);

template <typename Function>
Function wine_export(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

bool under_wine() { return wine_export<to_unix_name>("wine_get_unix_file_name") != nullptr; }

std::string unix_name(const std::wstring& path) {
    const auto convert = wine_export<to_unix_name>("wine_get_unix_file_name");
    char* name = convert ? convert(path.c_str()) : nullptr;
    if (!name) return {};
    std::string result(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::wstring dos_name(const std::string& path) {
    const auto convert = wine_export<to_dos_name>("wine_get_dos_file_name");
    WCHAR* name = convert ? convert(path.c_str()) : nullptr;
    if (!name) return {};
    std::wstring result(name);
    HeapFree(GetProcessHeap(), 0, name);
    // Wine hands back the long form; the plain one reads better in the journal.
    if (result.rfind(L"\\\\?\\", 0) == 0 && result.size() > 6 && result[5] == L':') result.erase(0, 4);
    return result;
}

std::wstring environment(const wchar_t* name) {
    wchar_t value[2048];
    const DWORD length = GetEnvironmentVariableW(name, value, 2048);
    return length > 0 && length < 2048 ? std::wstring(value, length) : std::wstring();
}

std::string utf8(const std::wstring& text) {
    std::string out(text.size() * 4, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                            out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

std::wstring wide(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    out.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), static_cast<int>(out.size()))));
    return out;
}

// The freedesktop trash Wine's shell uses: $XDG_DATA_HOME/Trash, else ~/.local/share/Trash.
std::wstring wine_trash() {
    std::wstring data = environment(L"XDG_DATA_HOME");
    if (data.empty() || data[0] != L'/') {
        const std::wstring home = environment(L"HOME");
        if (home.empty()) return {};
        data = home + L"/.local/share";
    }
    const std::wstring folder = dos_name(utf8(data + L"/Trash"));
    return folder.empty() ? folder : folder + L"\\";
}

bool same_path(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::vector<uint8_t> read_small_file(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    const unique_handle file = open_for_reading(path);
    uint64_t size = 0;
    if (!file || !size_of_open_file(file.get(), size) || size > largest_record_bytes) return bytes;
    bytes.resize(static_cast<std::size_t>(size));
    bytes.resize(read_whole(file.get(), bytes.data(), bytes.size()));
    return bytes;
}

// The size of a file (not a folder: a recycled folder is no item of ours).
bool file_size(const std::wstring& path, uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(long_path(path).c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    size = join_halves(data.nFileSizeHigh, data.nFileSizeLow);
    return true;
}

std::wstring folder_of(const std::wstring& path) { return path.substr(0, path.rfind(L'\\') + 1); }
std::wstring name_of(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

// A "$I" record and the "$R" item beside it.
bool read_windows_item(const std::wstring& record_path, bin_item& found) {
    const std::vector<uint8_t> bytes = read_small_file(record_path);
    bin_record record;
    if (bytes.empty() || !parse_bin_record(bytes.data(), bytes.size(), record)) return false;
    found.record = record_path;
    found.item = folder_of(record_path) + L"$R" + name_of(record_path).substr(2);
    found.original = record.original_path;
    found.taken_at = record.deleted_at;
    found.time = std::to_wstring(record.deleted_at);
    return file_size(found.item, found.size);
}

// "YYYY-MM-DDThh:mm:ss", local time, as FILETIME ticks (UTC).
bool local_date_ticks(const std::string& date, uint64_t& ticks) {
    SYSTEMTIME local{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(date.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second) != 6)
        return false;
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    SYSTEMTIME utc{};
    FILETIME time{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &time)) return false;
    ticks = join_halves(time.dwHighDateTime, time.dwLowDateTime);
    return true;
}

// A trash entry ("info\<name>.trashinfo") and the item it describes ("files\<name>").
bool read_trash_item(const std::wstring& trash, const std::wstring& name, bin_item& found) {
    found.record = trash + L"info\\" + name + L".trashinfo";
    found.item = trash + L"files\\" + name;
    const std::vector<uint8_t> bytes = read_small_file(found.record);
    trash_entry entry;
    if (bytes.empty() || !parse_trash_entry(reinterpret_cast<const char*>(bytes.data()), bytes.size(), entry)) return false;
    found.original = dos_name(entry.path);
    found.time = wide(entry.deletion_date);
    return !found.original.empty() && local_date_ticks(entry.deletion_date, found.taken_at) &&
           file_size(found.item, found.size);
}

// Records are read only when written since `since` (their own write time, with the
// bins' clock slack): the rest of a full bin is passed over unread.
bool written_since(const WIN32_FIND_DATAW& entry, uint64_t since) {
    return join_halves(entry.ftLastWriteTime.dwHighDateTime, entry.ftLastWriteTime.dwLowDateTime) >= since;
}

std::vector<bin_item> trash_items(uint64_t since) {
    std::vector<bin_item> items;
    const std::wstring trash = wine_trash();
    if (trash.empty()) return items;
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW(long_path(trash + L"info\\*.trashinfo").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return items;
    do {
        const std::wstring info = entry.cFileName;
        bin_item item;
        if (info.size() > 10 && written_since(entry, since) && read_trash_item(trash, info.substr(0, info.size() - 10), item))
            items.push_back(item);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return items;
}

// How an item's original path is matched: under Wine by the Linux path both names
// reach, on Windows by the path in upper case.
std::string match_key(const std::wstring& path) {
    return under_wine() ? unix_name(long_path(path)) : utf8(case_key(path));
}

std::wstring user_sid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    const unique_handle owned(token);
    DWORD needed = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
    std::vector<uint8_t> buffer(needed);
    if (needed == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), needed, &needed)) return {};
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
    std::wstring sid(text);
    LocalFree(text);
    return sid;
}

// X:\$Recycle.Bin\<SID>\ for a file of drive X; none for a share, whose files the
// bin of this machine never holds.
std::wstring windows_bin_folder(const std::wstring& original) {
    wchar_t root[MAX_PATH] = {};
    if (!GetVolumePathNameW(original.c_str(), root, MAX_PATH) || root[0] == L'\\') return {};
    const std::wstring sid = user_sid();
    return sid.empty() ? sid : join_path(root, L"$Recycle.Bin\\" + sid + L"\\");
}

}  // namespace

// One call: a second call with the same list would run again over files already in
// the bin (with FOF_WANTNUKEWARNING Wine then asks, in a modal box, to destroy them).
// SHFileOperationW returns 0 only when the operation succeeded.
recycle_result send_to_recycle_bin(HWND owner, const wchar_t* paths, FILEOP_FLAGS flags) {
    if (!paths || !*paths) return recycle_result::failed;
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = paths;
    operation.pTo = nullptr;
    operation.fFlags = flags;
    const int result = SHFileOperationW(&operation);
    if (operation.fAnyOperationsAborted) return recycle_result::aborted;
    return result == 0 ? recycle_result::done : recycle_result::failed;
}

uint64_t ticks_now() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return join_halves(now.dwHighDateTime, now.dwLowDateTime);
}

std::vector<bin_item> windows_bin_items(const std::wstring& folder, uint64_t since) {
    std::vector<bin_item> items;
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW(long_path(join_path(folder, L"$I*")).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return items;
    do {
        bin_item item;
        if (written_since(entry, since) && read_windows_item(join_path(folder, entry.cFileName), item))
            items.push_back(item);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return items;
}

// A bin may keep whole seconds only (the freedesktop trash does), and its clock
// reading may come a moment before ours.
recent_bin_items::recent_bin_items(const std::vector<std::wstring>& originals, uint64_t since) {
    constexpr uint64_t clock_slack = 2 * 10'000'000ull;
    since = since > clock_slack ? since - clock_slack : 0;
    if (under_wine()) {
        items_ = trash_items(since);
    } else {
        std::unordered_set<std::wstring> folders;
        for (const std::wstring& original : originals) {
            const std::wstring folder = windows_bin_folder(original);
            if (folder.empty() || !folders.insert(case_key(folder)).second) continue;
            const std::vector<bin_item> found = windows_bin_items(folder, since);
            items_.insert(items_.end(), found.begin(), found.end());
        }
    }
    std::erase_if(items_, [&](const bin_item& item) { return item.taken_at < since; });
    for (std::size_t i = 0; i < items_.size(); ++i) by_original_.emplace(match_key(items_[i].original), i);
    taken_.assign(items_.size(), false);
}

bool recent_bin_items::take(const std::wstring& original, uint64_t size, bin_item& found) {
    std::size_t best = items_.size();
    const auto [first, last] = by_original_.equal_range(match_key(original));
    for (auto at = first; at != last; ++at) {
        const std::size_t i = at->second;
        if (taken_[i] || items_[i].size != size) continue;
        if (best == items_.size() || items_[i].taken_at > items_[best].taken_at) best = i;
    }
    if (best == items_.size()) return false;
    taken_[best] = true;
    found = items_[best];
    return true;
}

bool read_bin_item(const std::wstring& item, bin_item& found) {
    const std::wstring name = name_of(item);
    if (name.rfind(L"$R", 0) == 0) return read_windows_item(folder_of(item) + L"$I" + name.substr(2), found);
    const std::wstring trash = wine_trash();
    if (trash.empty() || !same_path(folder_of(item), trash + L"files\\")) return false;
    return read_trash_item(trash, name, found);
}

std::wstring restore_bin_item(const bin_item& item) {
    if (path_exists(item.original)) return L"a file already stands at its path";
    make_parent_folders(item.original);
    // MoveFileW never replaces: a file that took the path meanwhile stays.
    if (!MoveFileW(long_path(item.item).c_str(), long_path(item.original).c_str())) return L"could not be moved back";
    DeleteFileW(long_path(item.record).c_str());
    return {};
}

}  // namespace orvkit
