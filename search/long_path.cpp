#include "search/long_path.h"

namespace orvkit {

namespace {
constexpr std::size_t plain_path_limit = 260;  // MAX_PATH, counting the NUL
}

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
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = path.size();
        const std::wstring name = path.substr(start, end - start);
        if (!name.empty() && name != L"." && name != L".." && (name.back() == L'.' || name.back() == L' '))
            return true;
        start = end + 1;
    }
    return false;
}

std::wstring system_path(const std::wstring& path) {
    return path.size() < plain_path_limit && !plain_form_alters(path) ? path : long_path(path);
}

std::wstring join_path(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) return folder + name;
    return folder + L"\\" + name;
}

}  // namespace orvkit
