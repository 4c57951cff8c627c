#include "base/long_path.h"

#include <windows.h>

#include <functional>

namespace orvkit {

namespace {

constexpr std::size_t plain_path_limit = 260;  // MAX_PATH, counting the NUL

// True when some name between separators satisfies `test`.
bool any_name(const std::wstring& path, const std::function<bool(const std::wstring&)>& test) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = path.size();
        if (test(path.substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

bool is_absolute(const std::wstring& path) {
    return path.rfind(L"\\\\", 0) == 0 || (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'));
}

}  // namespace

// The long form is passed to the file system unparsed, so forward slashes are turned
// into backslashes here; a relative path has no long form and is returned as it is.
std::wstring long_path(const std::wstring& path) {
    std::wstring p = path;
    if (p.rfind(L"\\\\?\\", 0) == 0) return p;
    for (wchar_t& c : p)
        if (c == L'/') c = L'\\';
    if (p.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + p.substr(2);
    if (p.size() < 3 || p[1] != L':' || p[2] != L'\\') return p;
    return L"\\\\?\\" + p;
}

// The plain form trims trailing dots and spaces from names, so a folder named "..."
// or "name." is reachable only through the long form.
bool plain_form_alters(const std::wstring& path) {
    return any_name(path, [](const std::wstring& name) {
        return !name.empty() && name != L"." && name != L".." && (name.back() == L'.' || name.back() == L' ');
    });
}

bool has_dot_segment(const std::wstring& path) {
    return any_name(path, [](const std::wstring& name) { return name == L"." || name == L".."; });
}

std::wstring full_path(const std::wstring& path) {
    if (path.empty() || (is_absolute(path) && !has_dot_segment(path))) return path;
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return path;
    full.resize(length);
    return full;
}

std::wstring system_path(const std::wstring& path) {
    return path.size() < plain_path_limit && !plain_form_alters(path) ? path : long_path(path);
}

std::wstring case_key(const std::wstring& path) {
    std::wstring key = path;
    if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

namespace {

std::wstring comparable(const std::wstring& path) {
    std::wstring key = case_key(full_path(path));
    for (wchar_t& c : key)
        if (c == L'/') c = L'\\';
    while (!key.empty() && key.back() == L'\\') key.pop_back();
    return key;
}

}  // namespace

bool path_is_under(const std::wstring& path, const std::wstring& folder) {
    const std::wstring inner = comparable(path), outer = comparable(folder);
    if (outer.empty()) return false;
    return inner.size() >= outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
           (inner.size() == outer.size() || inner[outer.size()] == L'\\');
}

std::wstring join_path(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) return folder + name;
    return folder + L"\\" + name;
}

}  // namespace orvkit
