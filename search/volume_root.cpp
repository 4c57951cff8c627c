#include "search/volume_root.h"

#include <string_view>

namespace orvkit {

namespace {

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t ascii_upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// Compares in ASCII letter case only, as the names sought are ASCII.
bool same_ignoring_case(std::wstring_view text, std::wstring_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (ascii_upper(text[i]) != upper[i]) return false;
    return true;
}

bool starts_with_ignoring_case(std::wstring_view text, std::wstring_view upper) {
    return text.size() >= upper.size() && same_ignoring_case(text.substr(0, upper.size()), upper);
}

bool is_drive(std::wstring_view text) {
    return text.size() == 2 && ascii_upper(text[0]) >= L'A' && ascii_upper(text[0]) <= L'Z' && text[1] == L':';
}

// "server\share": two names, one separator between them.
bool is_share(std::wstring_view text) {
    const std::size_t split = text.find_first_of(L"\\/");
    if (split == 0 || split == std::wstring_view::npos || split + 1 == text.size()) return false;
    return text.find_first_of(L"\\/", split + 1) == std::wstring_view::npos;
}

}  // namespace

// The walk enumerates folder + "\*.*" and joins names with a backslash, so "X:"
// and "X:\\" list the same root as "X:\".
bool is_volume_root(const std::wstring& folder) {
    std::wstring_view rest = folder;
    while (!rest.empty() && is_separator(rest.back())) rest.remove_suffix(1);
    if (starts_with_ignoring_case(rest, L"\\\\?\\UNC\\")) return is_share(rest.substr(8));
    if (starts_with_ignoring_case(rest, L"\\\\?\\") || starts_with_ignoring_case(rest, L"\\\\.\\"))
        return is_drive(rest.substr(4));
    if (rest.size() > 2 && is_separator(rest[0]) && is_separator(rest[1])) return is_share(rest.substr(2));
    return is_drive(rest);
}

bool is_volume_system_folder(const std::wstring& name) {
    return same_ignoring_case(name, L"$RECYCLE.BIN") || same_ignoring_case(name, L"RECYCLER") ||
           same_ignoring_case(name, L"SYSTEM VOLUME INFORMATION");
}

}  // namespace orvkit
