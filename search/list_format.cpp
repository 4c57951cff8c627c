#include "search/list_format.h"

#include <bit>
#include <cstring>
#include <limits>
#include <string_view>

namespace orvkit {

namespace {

constexpr uint8_t header_bytes[list_header_bytes] = {0xFF, 0xFE, 0x00, 0x00, 'O', 0, 'F', 0, 'L', 0, 'T', 0,
                                                     '0',  0,    '0',  0,    '0', 0, '1', 0, '*', 0};

// A token this long that reads as the number 0 is a path standing where a number
// was expected: the record being filled lacks fields, and a new one starts here.
constexpr std::size_t resync_length = 15;

// A list of a million files is written in a fraction of the search: each text goes
// into room made for it at once, not a byte at a time.
void append_units(std::string& out, const wchar_t* text, std::size_t length) {
    const std::size_t at = out.size();
    out.resize(at + 2 * length);
    char* bytes = out.data() + at;
    for (std::size_t i = 0; i < length; ++i) {
        const auto unit = static_cast<uint16_t>(text[i]);
        bytes[2 * i] = static_cast<char>(unit & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(unit >> 8);
    }
}

void append_ascii(std::string& out, const char* text) {
    const std::size_t length = std::strlen(text);
    const std::size_t at = out.size();
    out.resize(at + 2 * length);
    char* bytes = out.data() + at;
    for (std::size_t i = 0; i < length; ++i) {
        bytes[2 * i] = text[i];
        bytes[2 * i + 1] = '\0';
    }
}

void append_field(std::string& out, uint64_t value) {
    char digits[24];
    char* end = digits + sizeof(digits);
    char* p = end;
    *--p = '\0';
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    append_ascii(out, p);
    append_ascii(out, "*");
}

// Plain decimal digits only (what the writer produces), no larger than `max`.
bool parse_plain_number(const std::wstring& token, uint64_t max, uint64_t& value) {
    if (token.empty()) return false;
    value = 0;
    for (wchar_t c : token) {
        if (c < L'0' || c > L'9') return false;
        const uint64_t digit = static_cast<uint64_t>(c - L'0');
        if (digit > max || value > (max - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

bool plausible_path(const std::wstring& path) {
    if (path.find(L'\\') == std::wstring::npos) return false;
    for (wchar_t c : path)
        if (c < 0x20) return false;
    return true;
}

}  // namespace

bool list_record_writable(const file_record& record) {
    const auto fits = [](std::wstring_view part) { return part.find_first_of(std::wstring_view(L"*\0", 2)) == part.npos; };
    return record.path_length() <= list_token_limit && (!record.folder || fits(record.folder->view())) &&
           (!record.name || fits(record.name));
}

void append_list_header(std::string& out, uint64_t count) {
    out.append(reinterpret_cast<const char*>(header_bytes), list_header_bytes);
    append_field(out, count);
}

// Sizes and times keep their low 32 bits, the form every reader of these files
// expects. A reloaded size can therefore be that of a smaller file; the comparison
// checks the sizes on disk, so such a pair is never taken for twins.
void append_list_record(std::string& out, const file_record& record) {
    if (record.folder) {
        append_units(out, record.folder->data(), record.folder->size());
        append_ascii(out, "\\");
    }
    if (record.name) append_units(out, record.name, std::wcslen(record.name));
    append_ascii(out, "*");
    append_field(out, record.checksum);
    append_field(out, record.size & 0xFFFFFFFFu);
    append_field(out, record.created);
    append_field(out, record.accessed);
    append_field(out, record.written & 0xFFFFFFFFu);
    append_ascii(out, record.marked ? "1*" : "0*");
}

void append_list_trailer(std::string& out) { append_ascii(out, "ENDLIST"); }

int64_t list_token_value(const std::wstring& token) {
    std::size_t i = 0;
    while (i < token.size() && (token[i] == L' ' || (token[i] >= L'\t' && token[i] <= L'\r'))) ++i;
    bool negative = false;
    if (i < token.size() && (token[i] == L'+' || token[i] == L'-')) negative = token[i++] == L'-';
    uint64_t value = 0;
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    bool overflow = false;
    for (; i < token.size() && token[i] >= L'0' && token[i] <= L'9'; ++i) {
        const uint64_t digit = static_cast<uint64_t>(token[i] - L'0');
        if (overflow || value > (limit - digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 + digit;
    }
    if (overflow) return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    return negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
}

list_file_parser::list_file_parser(orvFileList& list)
    : list_file_parser([&list](const std::wstring& path, const file_record& fields) { list.add_record(path, fields); }) {}

list_file_parser::list_file_parser(list_record_sink sink) : sink_(std::move(sink)) { token_.reserve(list_token_limit); }

void list_file_parser::feed_header(const uint8_t*& data, std::size_t& length) {
    while (length > 0 && header_state_ == header_state::reading) {
        if (*data != header_bytes[header_got_]) header_state_ = header_state::foreign;
        else if (++header_got_ == list_header_bytes) header_state_ = header_state::good;
        ++data;
        --length;
    }
}

// Blocks may end on an odd byte: it is kept and joined with the next block's first.
void list_file_parser::feed(const uint8_t* data, std::size_t length) {
    feed_header(data, length);
    if (header_state_ != header_state::good) return;
    if (odd_byte_pending_ && length > 0) {
        add_unit(static_cast<wchar_t>(odd_byte_ | (data[0] << 8)));
        odd_byte_pending_ = false;
        ++data;
        --length;
    }
    // The units up to each "*" join the token in one step: a list of a million files
    // is read in a fraction of a second.
    const std::size_t units = length / 2;
    for (std::size_t i = 0; i < units;) {
        std::size_t end = i;
        while (end < units && !(data[2 * end] == '*' && data[2 * end + 1] == 0)) ++end;
        add_run(data + 2 * i, end - i);
        if (end == units) break;
        add_unit(L'*');
        i = end + 1;
    }
    if (length % 2) {
        odd_byte_ = data[length - 1];
        odd_byte_pending_ = true;
    }
}

void list_file_parser::add_run(const uint8_t* bytes, std::size_t units) {
    const std::size_t room = list_token_limit - token_.size();
    if (units > room) {
        token_cut_ = true;
        units = room;
    }
    const std::size_t at = token_.size();
    token_.resize(at + units);
    if constexpr (sizeof(wchar_t) == 2 && std::endian::native == std::endian::little) {
        std::memcpy(token_.data() + at, bytes, 2 * units);
    } else {
        for (std::size_t i = 0; i < units; ++i) token_[at + i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
}

void list_file_parser::add_unit(wchar_t unit) {
    if (unit == L'*') {
        end_token();
        token_.clear();
        token_cut_ = false;
    } else {
        const uint8_t bytes[2] = {static_cast<uint8_t>(unit & 0xFF), static_cast<uint8_t>(unit >> 8)};
        add_run(bytes, 1);
    }
}

void list_file_parser::start_record() {
    record_ = {};
    path_ = token_;
    record_sound_ = !token_cut_ && plausible_path(token_);
    state_ = field::checksum;
}

void list_file_parser::end_token() {
    if (state_ != field::path && token_.size() > resync_length && list_token_value(token_) == 0) {
        start_record();
        return;
    }
    uint64_t value = 0;
    constexpr uint64_t time_or_size_max = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    switch (state_) {
    case field::count:
        state_ = field::path;
        return;
    case field::path:
        start_record();
        return;
    case field::checksum:
        record_sound_ = record_sound_ && parse_plain_number(token_, 0xFFFFFFFFu, value);
        record_.checksum = static_cast<uint32_t>(value);
        state_ = field::size;
        return;
    case field::size:
        record_sound_ = record_sound_ && parse_plain_number(token_, time_or_size_max, value);
        record_.size = value;
        state_ = field::created;
        return;
    case field::created:
        record_sound_ = record_sound_ && parse_plain_number(token_, time_or_size_max, value);
        record_.created = static_cast<uint32_t>(value);
        state_ = field::accessed;
        return;
    case field::accessed:
        record_sound_ = record_sound_ && parse_plain_number(token_, time_or_size_max, value);
        record_.accessed = static_cast<uint32_t>(value);
        state_ = field::written;
        return;
    case field::written:
        record_sound_ = record_sound_ && parse_plain_number(token_, time_or_size_max, value);
        record_.written = value;
        state_ = field::marked;
        return;
    case field::marked:
        record_sound_ = record_sound_ && parse_plain_number(token_, 1, value);
        record_.marked = value != 0;
        if (record_sound_) sink_(path_, record_);
        state_ = field::path;
        return;
    }
}

}  // namespace orvkit
