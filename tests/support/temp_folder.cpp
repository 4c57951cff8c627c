#include "support/temp_folder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "base/long_path.h"

namespace test_support {

namespace {

std::string narrow(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring widen(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), n);
    return out;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::wstring test_root() {
    wchar_t root[1024] = {};
    if (GetEnvironmentVariableW(L"OSTRAND_TEST_ROOT", root, 1024)) return to_windows_path(narrow(root));
    GetTempPathW(1024, root);
    std::wstring path = root;
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

}  // namespace

std::wstring to_windows_path(const std::string& unix_path) {
    std::wstring path = L"Z:" + widen(unix_path);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::string to_unix_path(const std::wstring& windows_path) {
    std::wstring path = windows_path;
    if (path.rfind(L"\\\\?\\", 0) == 0) path = path.substr(4);
    if (path.size() >= 2 && (path[0] == L'Z' || path[0] == L'z') && path[1] == L':') path = path.substr(2);
    for (wchar_t& c : path)
        if (c == L'\\') c = L'/';
    return narrow(path);
}

// Wine may hand back the handle of a launcher rather than of the Linux process, so
// completion is read from a file the command writes last.
int run_unix(const std::string& command) {
    static std::atomic<int> counter{0};
    const std::wstring done = test_root() + L"\\unix_done_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                              std::to_wstring(++counter);
    const std::string full = "(" + command + "); echo $? > " + quoted(to_unix_path(done) + ".tmp") + " && mv " +
                             quoted(to_unix_path(done) + ".tmp") + " " + quoted(to_unix_path(done));
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
    for (int waited = 0; waited < 60000 && !exists(done); waited += 5) Sleep(5);
    const std::string code = read_file(done);
    DeleteFileW(done.c_str());
    return code.empty() ? -1 : std::atoi(code.c_str());
}

temp_folder::temp_folder() {
    static std::atomic<int> counter{0};
    path_ = test_root() + L"\\t" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
    make_folder(L"");
}

// Removed from the Linux side: Wine's delete calls act on a link's target, and a
// recursive delete through a directory link would empty folders outside the test.
temp_folder::~temp_folder() { run_unix("chmod -R u+rwX " + quoted(to_unix_path(path_)) + "; rm -rf " +
                                       quoted(to_unix_path(path_))); }

std::wstring temp_folder::make_folder(const std::wstring& relative) const {
    const std::wstring full = relative.empty() ? path_ : *this / relative;
    for (std::size_t i = 3; i <= full.size(); ++i) {
        if (i == full.size() || full[i] == L'\\')
            CreateDirectoryW(orvkit::long_path(full.substr(0, i)).c_str(), nullptr);
    }
    return full;
}

std::wstring temp_folder::make_file(const std::wstring& relative, const std::string& content) const {
    const std::wstring full = *this / relative;
    const auto slash = relative.rfind(L'\\');
    if (slash != std::wstring::npos) make_folder(relative.substr(0, slash));
    HANDLE file = CreateFileW(orvkit::long_path(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    return full;
}

std::wstring temp_folder::make_sparse_file(const std::wstring& relative, uint64_t size) const {
    const std::wstring full = make_file(relative, "");
    HANDLE file = CreateFileW(orvkit::long_path(full).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    return full;
}

void temp_folder::make_link(const std::wstring& relative, const std::wstring& target) const {
    run_unix("ln -s " + quoted(to_unix_path(target)) + " " + quoted(to_unix_path(*this / relative)));
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(orvkit::long_path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_file(const std::wstring& path) {
    std::string content;
    HANDLE file = CreateFileW(orvkit::long_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return content;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

}  // namespace test_support
