// Reads the rows of a list view of another process the way assistive tools and
// test drivers do: LVM_GETITEMCOUNT, then LVM_GETITEMTEXTW with the item record and
// the text buffer placed in the list's own process.
//
// usage: list_reader OUTPUT_FILE LIST_WINDOW ROW... ; writes "count N" and then one
// line per row, "row<TAB>cell<TAB>cell<TAB>cell", in UTF-8. Exit code 0 when read.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int text_units = 1200;

std::string utf8(const std::wstring& text) {
    std::string out(text.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    HWND list = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(argv[2], nullptr, 16)));
    DWORD owner = 0;
    if (!GetWindowThreadProcessId(list, &owner)) return 3;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner);
    if (!process) return 4;
    const SIZE_T bytes = sizeof(LVITEMW) + text_units * sizeof(wchar_t);
    auto* remote = static_cast<uint8_t*>(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return 5;
    auto* remote_text = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));

    std::string out = "count " + std::to_string(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) + "\n";
    for (int i = 3; i < argc; ++i) {
        const int row = _wtoi(argv[i]);
        out += std::to_string(row);
        for (int column = 0; column < 3; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = remote_text;
            item.cchTextMax = text_units;
            SIZE_T done = 0;
            const wchar_t nothing = L'\0';
            if (!WriteProcessMemory(process, remote, &item, sizeof(item), &done) ||
                !WriteProcessMemory(process, remote_text, &nothing, sizeof(nothing), &done))
                return 6;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
            wchar_t text[text_units] = {};
            if (!ReadProcessMemory(process, remote_text, text, sizeof(text) - sizeof(wchar_t), &done)) return 7;
            out += "\t" + utf8(text);
        }
        out += "\n";
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    FILE* file = _wfopen(argv[1], L"wb");
    if (!file) return 8;
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    return 0;
}
