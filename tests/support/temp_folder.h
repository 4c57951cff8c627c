// A fresh folder of real files for one test, removed when the test ends, and the Linux side of Wine.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/long_path.h"

namespace test_support {

using namespace orvkit;  // the tests call the program's own routines by their plain names

inline std::string narrow(const std::wstring& text) {
    std::string out(text.size() * 4, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

inline std::wstring widen(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    out.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size())));
    return out;
}

inline std::string utf16le(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) out += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return out;
}

// A word for /bin/sh, whatever it holds.
inline std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// "/tmp/x" <-> "Z:\tmp\x": Wine shows the Linux root as drive Z:.
inline std::wstring to_windows_path(const std::string& unix_path) {
    std::wstring path = L"Z:" + widen(unix_path);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

inline std::string to_unix_path(const std::wstring& windows_path) {
    std::wstring path = windows_path.rfind(L"\\\\?\\", 0) == 0 ? windows_path.substr(4) : windows_path;
    if (path.size() >= 2 && (path[0] == L'Z' || path[0] == L'z') && path[1] == L':') path = path.substr(2);
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return narrow(path);
}

inline std::wstring file_name(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

inline bool exists(const std::wstring& path) {
    return GetFileAttributesW(orvkit::long_path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string read_file(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(orvkit::long_path(path)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The names in `folder`, in the order the file system lists them.
inline std::vector<std::wstring> names_in(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(orvkit::long_path(folder), error))
        names.push_back(entry.path().filename().wstring());
    return names;
}

inline std::wstring desktop_folder() {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE);
    return folder;
}

// $OSTRAND_TEST_ROOT, which scripts/test.sh removes after the run, else the temporary folder.
inline std::wstring test_root() {
    wchar_t root[1024] = {};
    if (GetEnvironmentVariableW(L"OSTRAND_TEST_ROOT", root, 1024)) return to_windows_path(narrow(root));
    std::wstring path(root, GetTempPathW(1024, root));
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

// Runs a Linux shell command (Wine starts native programs too); returns its exit code. Wine may hand back
// the handle of a launcher rather than of the Linux process, so completion is read from a file the
// command writes last.
inline int run_unix(const std::string& command) {
    static std::atomic<int> counter{0};
    const std::string done = to_unix_path(test_root() + L"\\unix_done_" + std::to_wstring(GetCurrentProcessId()) +
                                          L"_" + std::to_wstring(++counter));
    const std::string full = "(" + command + "); echo $? > " + quoted(done + ".tmp") + " && mv " +
                             quoted(done + ".tmp") + " " + quoted(done);
    // Wine splits the command line by Windows rules, which know only double quotes.
    std::wstring line = L"/bin/sh -c \"";
    for (wchar_t c : widen(full)) line += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    line += L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::wstring done_file = to_windows_path(done);
    for (int waited = 0; waited < 60000 && !exists(done_file); waited += 5) Sleep(5);
    const std::string code = read_file(done_file);
    DeleteFileW(done_file.c_str());
    return code.empty() ? -1 : std::atoi(code.c_str());
}

// The program the build made ($OSTRAND_EXE, set by CTest), as a Windows path.
inline std::wstring built_program() {
    wchar_t exe[1024] = {};
    GetEnvironmentVariableW(L"OSTRAND_EXE", exe, 1024);
    return to_windows_path(to_unix_path(exe));
}

class temp_folder {
public:
    temp_folder() {
        static std::atomic<int> counter{0};
        path_ = test_root() + L"\\t" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
        make_folder(L"");
    }
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;
    // Removed from the Linux side: Wine's delete calls act on a link's target, and a recursive delete
    // through a directory link would empty folders outside the test.
    ~temp_folder() {
        const std::string unix_path = quoted(to_unix_path(path_));
        const std::string unmap = drive_link_.empty() ? "" : "rm -f " + test_support::quoted(drive_link_) + "; ";
        run_unix(unmap + "chmod -R u+rwX " + unix_path + "; rm -rf " + unix_path);
    }

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

    // Both make missing parent folders and return the full Windows path.
    std::wstring make_folder(const std::wstring& relative) const {
        const std::wstring full = relative.empty() ? path_ : *this / relative;
        for (std::size_t i = 3; i <= full.size(); ++i)
            if (i == full.size() || full[i] == L'\\') CreateDirectoryW(orvkit::long_path(full.substr(0, i)).c_str(), nullptr);
        return full;
    }
    std::wstring make_file(const std::wstring& relative, const std::string& content) const {
        const auto slash = relative.rfind(L'\\');
        if (slash != std::wstring::npos) make_folder(relative.substr(0, slash));
        const std::wstring full = *this / relative;
        std::ofstream(std::filesystem::path(orvkit::long_path(full)), std::ios::binary) << content;
        return full;
    }
    // A directory symbolic link, or a file of `size` bytes none of which is written, made on the Linux side.
    void make_link(const std::wstring& relative, const std::wstring& target) const {
        run_unix("ln -s " + quoted(to_unix_path(target)) + " " + quoted(to_unix_path(*this / relative)));
    }
    std::wstring make_sparse_file(const std::wstring& relative, uint64_t size) const {
        const std::wstring full = make_file(relative, "");
        run_unix("truncate -s " + std::to_string(size) + " " + quoted(to_unix_path(full)));
        return full;
    }

    // Maps the first free drive letter from R: on to this folder, by a link in the Wine prefix's dosdevices folder
    // that goes with the folder; returns the drive's root, "R:\", empty when no letter could be mapped.
    std::wstring map_drive() {
        char prefix[1024] = {};
        GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
        for (char letter = 'r'; *prefix && letter <= 'y'; ++letter) {
            drive_link_ = std::string(prefix) + "/dosdevices/" + letter + ":";
            if (run_unix("ln -sT " + quoted(to_unix_path(path_)) + " " + test_support::quoted(drive_link_)) == 0)
                return std::wstring(1, static_cast<wchar_t>(letter - 'a' + 'A')) + L":\\";
        }
        drive_link_.clear();
        return {};
    }

private:
    std::wstring path_;
    std::string drive_link_;
};

}  // namespace test_support
