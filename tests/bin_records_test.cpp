// The recycle bin's records: "$I" records of both versions laid out byte by byte here, and trash entries.
#include <gtest/gtest.h>

#include <optional>

#include "shell/bin_records.h"

using namespace orvkit;
using bytes = std::vector<uint8_t>;
using namespace std::string_literals;

namespace {

constexpr uint64_t file_size = (uint64_t{5} << 32) + 7;  // the high half must be read too
constexpr uint64_t deleted_at = 0x01DA2B3C4D5E6F70ull;

bytes le(uint64_t value, int count) {
    bytes out;
    for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> 8 * i));
    return out;
}
bytes utf16(const std::u16string& text) {
    bytes out;
    for (const char16_t unit : text) out.insert(out.end(), {static_cast<uint8_t>(unit), static_cast<uint8_t>(unit >> 8)});
    return out;
}
bytes record(uint64_t version, const bytes& tail) {
    bytes out = le(version, 8);
    for (const bytes& part : {le(file_size, 8), le(deleted_at, 8), tail}) out.insert(out.end(), part.begin(), part.end());
    return out;
}

bytes v1(std::u16string path) {
    path.resize(260, u'\0');
    return record(1, utf16(path));
}

bytes v2_tail(uint64_t count, const std::u16string& units) {
    bytes tail = le(count, 4), text = utf16(units);
    tail.insert(tail.end(), text.begin(), text.end());
    return tail;
}

bytes v2(uint64_t count, const std::u16string& units) { return record(2, v2_tail(count, units)); }
bytes v2(const std::u16string& path) { return v2(path.size() + 1, path + u'\0'); }

std::optional<bin_record> parsed(const bytes& data) {
    bin_record out;
    return parse_bin_record(data.data(), data.size(), out) ? std::optional(out) : std::nullopt;
}
bin_record expected(const std::u16string& path) { return {std::wstring(path.begin(), path.end()), file_size, deleted_at}; }

const std::u16string path_259 = u"C:\\" + std::u16string(256, u'x');
const std::u16string long_path = u"\\\\?\\D:\\" + std::u16string(400, u'\u00e9') + u"\\\U0001F600.bin";
const std::u16string short_path = u"C:\\Users\\\u00c5sa\\\u65e5\u672c.txt";

const struct {
    const char* name;
    bytes data;
    std::optional<bin_record> record;
} bin_cases[] = {
    {"v1", v1(short_path), expected(short_path)},
    {"v1 of 259 units", v1(path_259), expected(path_259)},
    {"v1 of 260 units, no NUL", v1(path_259 + u'y'), std::nullopt},
    {"v1, empty path", v1(u""), std::nullopt},
    {"v1 with a byte over", [] { bytes b = v1(short_path); b.push_back(0); return b; }(), std::nullopt},
    {"v2", v2(short_path), expected(short_path)},
    {"v2 of a long path", v2(long_path), expected(long_path)},
    {"version 3", record(3, v2_tail(short_path.size() + 1, short_path + u'\0')), std::nullopt},
    {"version 2 with high bytes", record(2 | uint64_t{1} << 32, v2_tail(short_path.size() + 1, short_path + u'\0')),
     std::nullopt},
    {"v2 count of 0", v2(0, u""), std::nullopt},
    {"v2 count of 2^32-1", v2(0xFFFFFFFFu, short_path + u'\0'), std::nullopt},
    {"v2 bytes left over", v2(short_path.size() + 1, short_path + u'\0' + u'\0'), std::nullopt},
    {"v2 NUL inside", v2(u"C:\\a\0b"s), std::nullopt},
    {"v2 no NUL", v2(short_path.size(), short_path), std::nullopt},
    {"v2 empty path", v2(u""), std::nullopt},
    {"v2 odd byte over", [] { bytes b = v2(short_path); b.push_back(0); return b; }(), std::nullopt},
};

}  // namespace

TEST(BinRecords, ReadsOnlyWellFormedRecords) {
    for (const auto& c : bin_cases) EXPECT_EQ(parsed(c.data), c.record) << c.name;
}

// Parsed in place, so that a read past the cut would see the rest of the record.
TEST(BinRecords, ARecordCutShortIsRefused) {
    for (const bytes& whole : {v1(path_259), v2(long_path)}) {
        bin_record out;
        for (std::size_t cut = 0; cut < whole.size(); ++cut) ASSERT_FALSE(parse_bin_record(whole.data(), cut, out)) << cut;
        EXPECT_TRUE(parse_bin_record(whole.data(), whole.size(), out));
    }
}

// Against the layout above, so that a writer and a reader that agree on a wrong order fail.
TEST(BinRecords, TheWriterLaysOutVersionTwo) {
    for (const auto& c : bin_cases)
        EXPECT_TRUE(!c.record || c.data[0] != 2 || bin_record_bytes(*c.record) == c.data) << c.name;
}

TEST(BinRecords, WrittenRecordsReadBackAsThemselves) {
    const bin_record records[] = {
        {std::wstring(long_path.begin(), long_path.end()), ~uint64_t{0}, ~uint64_t{0}},
        {L"\\\\server\\share\\" + std::wstring(70000, L'z'), 1, deleted_at},  // a count past 16 bits
    };
    for (const bin_record& r : records) EXPECT_EQ(parsed(bin_record_bytes(r)), r) << r.original_path.size();
}

const std::string date = "2026-12-07T15:40:12";

static std::optional<trash_entry> read_entry(const std::string& text) {
    trash_entry out;
    return parse_trash_entry(text.data(), text.size(), out) ? std::optional(out) : std::nullopt;
}

TEST(BinRecords, ReadsOnlyWellFormedTrashEntries) {
    const trash_entry spaced{"/home/u/My File.txt", date};
    const std::pair<std::string, std::optional<trash_entry>> cases[] = {
        {"[Trash Info]\nPath=/home/u/My%20File.txt\nDeletionDate=" + date + "\n", spaced},
        {"[Trash Info]\r\nPath=/home/u/My%20File.txt\r\nDeletionDate=" + date + "\r\n", spaced},
        {"# by hand\n\n[Trash Info]\nDeletionDate = " + date + "\nPath = /home/u/My%20File.txt", spaced},
        {"[Trash Info]\nPath=/h/%C3%89t%c3%a9/%E6%97%A5.txt\nDeletionDate=" + date + "\n",
         trash_entry{"/h/\xC3\x89t\xC3\xA9/\xE6\x97\xA5.txt", date}},
        {"[Trash Info]\nPath=/a\nDeletionDate=" + date + "\nX=1\n[Other]\nPath=/b\nno key\n", trash_entry{"/a", date}},
        {"[Trash Info]\nDeletionDate=" + date + "\n", std::nullopt},
        {"[Trash Info]\nPath=/a\n[Other]\nDeletionDate=" + date + "\n", std::nullopt},
        {"[Other]\n[Trash Info]\nPath=/a\nDeletionDate=" + date + "\n", std::nullopt},
        {"Path=/a\n[Trash Info]\nDeletionDate=" + date + "\n", std::nullopt},
        {"[Trash Info]\nPath=/a%G1\nDeletionDate=" + date + "\n", std::nullopt},
        {"[Trash Info]\nDeletionDate=" + date + "\nPath=/a%4", std::nullopt},
        {"[Trash Info]\nPath=home/u/a\nDeletionDate=" + date + "\n", std::nullopt},
        {"[Trash Info]\nPath=/a%00b\nDeletionDate=" + date + "\n", std::nullopt},
        {"[Trash Info]\nPath=/a\nPath=/b\nDeletionDate=" + date + "\n", std::nullopt},
        {"[Trash Info]\nPath=/a\nDeletionDate=" + date + "\nDeletionDate=" + date + "\n", std::nullopt},
        {"[Trash Info]\nPath=/a\nDeletionDate=2026-12-07 15:40:12\n", std::nullopt},
        {"[Trash Info]\nPath=/a\nnot a key\nDeletionDate=" + date + "\n", std::nullopt},
    };
    for (const auto& [text, entry] : cases) EXPECT_EQ(read_entry(text), entry) << text;
}

// Parsed in place: an escape cut by the end of the bytes must not borrow the digits after it.
TEST(BinRecords, ATrashEntryCutShortIsRefused) {
    const std::string whole = "[Trash Info]\nPath=/home/u/x%20y\nDeletionDate=" + date;
    trash_entry out;
    for (std::size_t cut = 0; cut < whole.size(); ++cut) ASSERT_FALSE(parse_trash_entry(whole.data(), cut, out)) << cut;
    EXPECT_TRUE(parse_trash_entry(whole.data(), whole.size(), out));
    const std::string head = "[Trash Info]\nDeletionDate=" + date + "\nPath=", escaped = head + "/a%20b\n";
    const std::pair<std::string, std::optional<std::string>> cuts[] = {
        {"", std::nullopt}, {"/a%", std::nullopt}, {"/a%2", std::nullopt}, {"/a%20", "/a "}, {"/a%20b\n", "/a b"}};
    for (const auto& [tail, path] : cuts) {
        const bool ok = parse_trash_entry(escaped.data(), head.size() + tail.size(), out);
        EXPECT_EQ(ok ? std::optional(out.path) : std::nullopt, path) << tail;
    }
}
