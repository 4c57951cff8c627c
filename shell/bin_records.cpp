#include "shell/bin_records.h"

#include <string_view>

namespace orvkit {

namespace {

constexpr std::size_t fixed_bytes = 24;  // version, size, FILETIME
constexpr std::size_t count_bytes = 4;   // version 2's count of path units
// Version 1 keeps the path in a MAX_PATH buffer, whatever its length.
constexpr std::size_t v1_path_units = 260;
constexpr std::size_t v1_record_bytes = fixed_bytes + v1_path_units * 2;

uint64_t read_le(const uint8_t* at, std::size_t bytes) {
    uint64_t value = 0;
    for (std::size_t i = bytes; i-- > 0;) value = value << 8 | at[i];
    return value;
}

void append_le(std::vector<uint8_t>& out, uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::size_t first_nul(const uint8_t* units, std::size_t count) {
    std::size_t i = 0;
    while (i < count && read_le(units + 2 * i, 2) != 0) ++i;
    return i;
}

// Units are kept as read: a lone surrogate is a name NTFS allows, so it stays.
std::wstring read_units(const uint8_t* units, std::size_t count) {
    std::wstring text(count, L'\0');
    for (std::size_t i = 0; i < count; ++i) text[i] = static_cast<wchar_t>(read_le(units + 2 * i, 2));
    return text;
}

// The units of a path and its NUL, or 0 when the record lays out no path.
std::size_t path_units(const uint8_t* bytes, std::size_t size, uint64_t version) {
    const uint8_t* units = bytes + fixed_bytes;
    if (version == 1) {
        if (size != v1_record_bytes) return 0;
        // What follows the NUL is the buffer's slack, not part of the record.
        const std::size_t length = first_nul(units, v1_path_units);
        return length < v1_path_units ? length + 1 : 0;
    }
    if (version != 2 || size < fixed_bytes + count_bytes) return 0;
    const uint64_t count = read_le(units, count_bytes);
    units += count_bytes;
    if (size - fixed_bytes - count_bytes != 2 * count) return 0;
    // The count is the whole path: its only NUL is its last unit (so a count of 0 fails).
    const auto whole = static_cast<std::size_t>(count);  // at most size / 2 now
    return first_nul(units, whole) + 1 == whole ? whole : 0;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool decode_path(std::string_view value, std::string& path) {
    path.clear();
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '%') {
            const int high = value.size() - i > 2 ? hex_value(value[i + 1]) : -1;
            const int low = high >= 0 ? hex_value(value[i + 2]) : -1;
            if (low < 0) return false;
            c = static_cast<char>(high << 4 | low);
            i += 2;
        }
        if (c == '\0') return false;
        path += c;
    }
    return !path.empty() && path.front() == '/';
}

bool is_date_shaped(std::string_view value) {
    constexpr std::string_view shape = "0000-00-00T00:00:00";  // 0: any digit
    if (value.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = value[i] >= '0' && value[i] <= '9';
        if (shape[i] == '0' ? !digit : value[i] != shape[i]) return false;
    }
    return true;
}

std::string_view without_leading_spaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

std::string_view without_trailing_spaces(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

// The record is written only on success, so a caller's record survives a refusal.
bool parse_bin_record(const uint8_t* bytes, std::size_t size, bin_record& record) {
    if (size < fixed_bytes) return false;
    const uint64_t version = read_le(bytes, 8);
    const std::size_t units = path_units(bytes, size, version);
    if (units < 2) return false;  // none, or a lone NUL: an empty path
    const uint8_t* path = bytes + fixed_bytes + (version == 2 ? count_bytes : 0);
    record.original_path = read_units(path, units - 1);
    record.size = read_le(bytes + 8, 8);
    record.deleted_at = read_le(bytes + 16, 8);
    return true;
}

// Each wchar_t is one UTF-16 unit, also where wchar_t has 32 bits.
std::vector<uint8_t> bin_record_bytes(const bin_record& record) {
    std::vector<uint8_t> out;
    out.reserve(fixed_bytes + count_bytes + 2 * (record.original_path.size() + 1));
    append_le(out, 2, 8);
    append_le(out, record.size, 8);
    append_le(out, record.deleted_at, 8);
    append_le(out, record.original_path.size() + 1, count_bytes);
    for (const wchar_t unit : record.original_path) append_le(out, static_cast<uint16_t>(unit), 2);
    append_le(out, 0, 2);
    return out;
}

// The desktop-entry rules the trash format borrows: "#" starts a comment, spaces around
// "=" do not count, and a key may appear once in its group. Wine writes the path with
// its own escapes but reads any RFC 2396 escape, upper or lower case, so this does too.
bool parse_trash_entry(const char* bytes, std::size_t size, trash_entry& entry) {
    enum class place { before_group, trash_info, other_group } where = place::before_group;
    std::string_view text(bytes, size);
    trash_entry found;
    bool has_path = false;
    bool has_date = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#' || where == place::other_group) continue;
        if (line.front() == '[') {
            if (where == place::before_group && line != "[Trash Info]") return false;
            where = where == place::before_group ? place::trash_info : place::other_group;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (where == place::before_group || equals == std::string_view::npos) return false;
        const std::string_view key = without_trailing_spaces(line.substr(0, equals));
        const std::string_view value = without_leading_spaces(line.substr(equals + 1));
        if (key == "Path") {
            if (has_path || !decode_path(value, found.path)) return false;
            has_path = true;
        } else if (key == "DeletionDate") {
            if (has_date || !is_date_shaped(value)) return false;
            found.deletion_date = value;
            has_date = true;
        }
    }
    if (!has_path || !has_date) return false;
    entry = std::move(found);
    return true;
}

}  // namespace orvkit
