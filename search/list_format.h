// The text of a saved list file, without any file system call: the writer's
// serialisation and the reader's tokeniser. UTF-16LE, "*"-terminated fields:
//
//   FF FE 00 00 "OFLT0001*" count "*" { path "*" checksum "*" size "*" created "*"
//   accessed "*" written "*" marked "*" } "ENDLIST"
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/file_list.h"

namespace orvkit {

// The first 22 bytes of every list file: byte-order mark, one NUL, magic and "*".
constexpr std::size_t list_header_bytes = 22;
// A token keeps at most this many code units: the longest path Windows knows (the
// "\\?\" form reaches 32,767), so every path the walk can meet reads back whole.
constexpr std::size_t list_token_limit = 32767;

// Whether a record can be written so that it reads back as itself: a path with
// "*" or NUL would split into extra fields, and a longer one would be cut.
bool list_record_writable(const file_record& record);

// Appends the header with `count` records, one record, or the trailer, as
// UTF-16LE bytes.
void append_list_header(std::string& out, uint64_t count);
void append_list_record(std::string& out, const file_record& record);
void append_list_trailer(std::string& out);

// Like _wtoi64: leading blanks, an optional sign, then decimal digits up to the
// first other character; 0 without leading digits; saturates on overflow.
int64_t list_token_value(const std::wstring& token);

// What a parser does with each sound record: its path, and its other fields.
using list_record_sink = std::function<void(const std::wstring& path, const file_record& fields)>;

// Reads list-file bytes in pieces of any size and appends each complete, sound
// record to `list` (or hands it to `sink`). A file whose first 22 bytes are not the list header yields
// nothing. A record is appended only at the "*" after its seventh field, and only
// when its path is a plausible path (non-empty, with a backslash, no control
// character, not cut at the token limit) and each number is a plain decimal
// number in its field's range; other records are dropped whole.
class list_file_parser {
public:
    explicit list_file_parser(orvFileList& list);
    explicit list_file_parser(list_record_sink sink);

    void feed(const uint8_t* data, std::size_t length);


private:
    enum class field { count, path, checksum, size, created, accessed, written, marked };
    enum class header_state { reading, good, foreign };

    void feed_header(const uint8_t*& data, std::size_t& length);
    void add_unit(wchar_t unit);
    // Appends `units` little-endian UTF-16 units, none of them "*", to the token.
    void add_run(const uint8_t* bytes, std::size_t units);
    void end_token();
    void start_record();

    list_record_sink sink_;
    header_state header_state_ = header_state::reading;
    std::size_t header_got_ = 0;
    bool odd_byte_pending_ = false;
    uint8_t odd_byte_ = 0;
    std::wstring token_;
    bool token_cut_ = false;
    field state_ = field::count;
    std::wstring path_;
    file_record record_;
    bool record_sound_ = false;
};

}  // namespace orvkit
