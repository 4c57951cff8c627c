#include "actions/save_results.h"

#include <cstdio>
#include <string>

#include "base/file_replace.h"
#include "base/long_path.h"
#include "core/globals.h"
#include "core/run_protocol.h"
#include "core/search_modes.h"
#include "ui/results_list.h"
#include "ui/standard_dialogs.h"

namespace orvkit {

namespace {

// A drive or UNC path; anything else in a cell (a status word, a count) must not
// be looked up relative to the current folder.
bool names_absolute_path(const std::wstring& cell) {
    return cell.rfind(L"\\\\", 0) == 0 || (cell.size() >= 3 && cell[1] == L':' && cell[2] == L'\\');
}

std::wstring local_time_text(const FILETIME& written) {
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&written, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return {};
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
                  local.wMinute, local.wSecond);
    return text;
}

// Size and modified time of the file `cell` names, or two empty fields.
void append_file_fields(export_record& record, const std::wstring& cell) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool file = names_absolute_path(cell) &&
                      GetFileAttributesExW(long_path(cell).c_str(), GetFileExInfoStandard, &data) &&
                      !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!file) {
        record.insert(record.end(), 2, std::wstring());
        return;
    }
    record.push_back(std::to_wstring(uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow));
    record.push_back(local_time_text(data.ftLastWriteTime));
}

std::wstring failure_text(const std::wstring& path, DWORD error) {
    wchar_t* reason = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
    std::wstring text = L"The results could not be saved to\n" + path + L"\n\n";
    text += reason ? reason : L"Error " + std::to_wstring(error);
    if (reason) LocalFree(reason);
    return text;
}

}  // namespace

std::vector<export_record> results_records() {
    const bool with_files = search_mode != mode_file;
    std::vector<export_record> records;
    records.push_back(list_column_titles());
    if (with_files) records.back().insert(records.back().end(), {L"Size A", L"Modified A", L"Size B", L"Modified B"});
    const int rows = list_row_total();
    for (int row = 0; row < rows; ++row) {
        export_record record;
        for (int column = 0; column < 3; ++column) record.push_back(list_cell_text(row, column));
        if (with_files) {
            append_file_fields(record, record[0]);
            append_file_fields(record, record[1]);
        }
        records.push_back(std::move(record));
    }
    return records;
}

// The rows are read once the name is known: the file holds the list as it stands
// when the dialog closes, the files' sizes and times as they are then.
void save_results(HWND window) {
    if (run_status != status_idle || list_row_total() == 0) return;
    std::wstring path;
    DWORD type = save_type_csv;
    if (!ask_save_path(window, path, type)) return;
    const export_format format = type == save_type_tab_separated ? export_format::tab_separated : export_format::csv;
    const DWORD error = replace_file_contents(path, format_records(results_records(), format));
    if (error) MessageBoxW(window, failure_text(path, error).c_str(), L"Ostrand", MB_OK | MB_ICONERROR);
}

}  // namespace orvkit
