// The list-file tokeniser on bytes made by the test: its resynchronisation rule,
// its limits and what it makes of foreign, cut and damaged input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "search/file_list.h"
#include "search/list_format.h"

using namespace orvkit;

namespace {

std::string utf16le(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

const std::string header = std::string("\xFF\xFE\x00\x00", 4) + utf16le(u"OFLT0001*");

struct parsed {
    std::vector<file_record> records;
    std::size_t dropped = 0;
};

parsed parse(const std::string& bytes, std::size_t piece = 0) {
    orvFileList list(16);
    list_file_parser parser(list);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (piece == 0) piece = bytes.size() ? bytes.size() : 1;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        parser.feed(data + at, std::min(piece, bytes.size() - at));
    parsed out;
    for (const auto& record : list.records) out.records.push_back(*record);
    out.dropped = parser.dropped();
    return out;
}

std::vector<std::wstring> paths_of(const parsed& result) {
    std::vector<std::wstring> paths;
    for (const auto& record : result.records) paths.push_back(record.path);
    return paths;
}

// One record's text as the writer lays it out.
std::u16string record_text(const std::u16string& path, const char* numbers = "11*22*33*44*55*0*") {
    std::u16string text = path + u"*";
    for (const char* p = numbers; *p; ++p) text += static_cast<char16_t>(*p);
    return text;
}

}  // namespace

TEST(ListFormat, APathWhereANumberBelongsStartsANewRecordAndTheBrokenOneIsDropped) {
    const std::u16string body = u"3*" + record_text(u"C:\\one\\first.txt") +
                                u"C:\\one\\broken.txt*22*33*44*55*0*" +  // lacks its checksum
                                record_text(u"C:\\one\\third file.txt", "7*8*9*10*11*1*");
    const parsed result = parse(header + utf16le(body + u"ENDLIST"));
    ASSERT_EQ(paths_of(result), (std::vector<std::wstring>{L"C:\\one\\first.txt", L"C:\\one\\third file.txt"}));
    EXPECT_EQ(result.dropped, 1u);
    const file_record& third = result.records[1];
    EXPECT_EQ(third.checksum, 7u);
    EXPECT_EQ(third.size, 8u);
    EXPECT_EQ(third.created, 9u);
    EXPECT_EQ(third.accessed, 10u);
    EXPECT_EQ(third.written, 11u);
    EXPECT_TRUE(third.marked);

    // The count is a number position too: a file without it still loads.
    const parsed no_count = parse(header + utf16le(record_text(u"C:\\folder\\file.dat") +
                                                   record_text(u"C:\\folder\\other.dat") + u"ENDLIST"));
    EXPECT_EQ(paths_of(no_count), (std::vector<std::wstring>{L"C:\\folder\\file.dat", L"C:\\folder\\other.dat"}));
}

TEST(ListFormat, ShiftedFieldsNeverBecomeARecord) {
    // A short path (no resynchronisation) after a broken record shifts every field;
    // the tokeniser may lose records until a long path realigns it, but it never
    // appends one assembled from the wrong fields.
    const std::u16string body = u"5*" + record_text(u"C:\\a\\1") + u"C:\\a\\2*22*33*44*55*0*" +
                                record_text(u"C:\\a\\3") + record_text(u"C:\\a\\4") +
                                record_text(u"C:\\aligned\\again.txt") + record_text(u"C:\\a\\6");
    const parsed result = parse(header + utf16le(body + u"ENDLIST"));
    const std::vector<std::wstring> paths = paths_of(result);
    ASSERT_GE(paths.size(), 3u);
    EXPECT_EQ(paths.front(), L"C:\\a\\1");
    EXPECT_EQ(paths[paths.size() - 2], L"C:\\aligned\\again.txt");
    EXPECT_EQ(paths.back(), L"C:\\a\\6");
    for (const file_record& record : result.records) {
        EXPECT_EQ(record.path.rfind(L"C:\\a", 0), 0u) << "a field taken for a path";
        EXPECT_EQ(record.checksum, 11u);
        EXPECT_EQ(record.size, 22u);
        EXPECT_EQ(record.written, 55u);
        EXPECT_FALSE(record.marked);
    }
}

TEST(ListFormat, DamagedFieldsDropTheirRecordOnly) {
    const std::u16string body =
        u"9*" + record_text(u"C:\\ok\\before") + record_text(u"C:\\bad\\negative", "1*-5*0*0*0*0*") +
        record_text(u"C:\\bad\\letters", "1*12abc*0*0*0*0*") +
        record_text(u"C:\\bad\\checksum", "4294967296*1*0*0*0*0*") +
        record_text(u"C:\\bad\\marked", "1*1*0*0*0*2*") + record_text(u"C:\\bad\\huge", "1*9223372036854775808*0*0*0*0*") +
        record_text(u"no backslash") + record_text(u"") + record_text(u"C:\\bad\\ctl\u0001x") +
        record_text(u"C:\\ok\\max", "4294967295*9223372036854775807*0*0*0*1*") + record_text(u"C:\\ok\\after");
    const parsed result = parse(header + utf16le(body + u"ENDLIST"));
    ASSERT_EQ(paths_of(result), (std::vector<std::wstring>{L"C:\\ok\\before", L"C:\\ok\\max", L"C:\\ok\\after"}));
    EXPECT_EQ(result.records[1].checksum, 4294967295u);
    EXPECT_EQ(result.records[1].size, 9223372036854775807u);
    EXPECT_EQ(result.dropped, 8u);
}

TEST(ListFormat, ForeignInputYieldsNoRecord) {
    const std::string list_body = utf16le(u"2*" + record_text(u"C:\\x\\a") + record_text(u"C:\\x\\b") + u"ENDLIST");
    ASSERT_EQ(parse(header + list_body).records.size(), 2u);

    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) % 251));
    std::string starred_binary = binary;
    for (std::size_t i = 0; i + 1 < starred_binary.size(); i += 40) starred_binary.replace(i, 2, "*\0", 2);
    const std::vector<std::string> foreign = {
        "",
        header.substr(0, 10),
        "plain text*C:\\x\\a*1*2*3*4*5*0*C:\\x\\b*1*2*3*4*5*0*ENDLIST",
        std::string("\xFF\xFE\x00\x00", 4) + utf16le(u"OFLT0002*") + list_body,  // another version
        std::string("\xFF\xFE", 2) + utf16le(u"OFLT0001*") + list_body,           // no NUL after the mark
        utf16le(u"\uFEFF\0OFLT0001*").substr(0, 2) + list_body,
        starred_binary,
        std::string("\xFF\xFE\x00\x00", 4) + utf16le(u"OFLT0001") + binary,
    };
    for (std::size_t i = 0; i < foreign.size(); ++i)
        EXPECT_TRUE(parse(foreign[i]).records.empty()) << "input " << i;
}

TEST(ListFormat, ACutFileKeepsEveryRecordCompleteBeforeTheCutInPiecesOfAnySize) {
    const std::u16string records[] = {record_text(u"C:\\t\\first", "1*2*3*4*5*1*"),
                                      record_text(u"C:\\t\\\u00e9t\u00e9 \U0001F600", "6*7*8*9*10*0*"),
                                      record_text(u"C:\\t\\third", "11*12*13*14*15*1*")};
    std::string bytes = header + utf16le(u"3*");
    std::vector<std::size_t> record_ends;
    for (const auto& text : records) {
        bytes += utf16le(text);
        record_ends.push_back(bytes.size());
    }
    bytes += utf16le(u"ENDLIST");
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        std::size_t complete = 0;
        while (complete < record_ends.size() && record_ends[complete] <= cut) ++complete;
        const parsed result = parse(bytes.substr(0, cut));
        ASSERT_EQ(result.records.size(), complete) << "cut at " << cut;
        for (std::size_t piece = 1; piece <= 5; ++piece)
            ASSERT_EQ(paths_of(parse(bytes.substr(0, cut), piece)), paths_of(result)) << cut << "/" << piece;
    }
    const parsed whole = parse(bytes, 3);
    ASSERT_EQ(whole.records.size(), 3u);
    EXPECT_EQ(whole.records[1].path, L"C:\\t\\\u00e9t\u00e9 \U0001F600");
    EXPECT_EQ(whole.records[2].written, 15u);
}

TEST(ListFormat, ATokenPastTheLimitIsCutAndItsRecordDropped) {
    const std::u16string prefix = u"C:\\long\\";
    auto path_of_length = [&](std::size_t length) { return prefix + std::u16string(length - prefix.size(), u'n'); };
    const std::u16string body = u"4*" + record_text(path_of_length(5999)) + record_text(path_of_length(6000)) +
                                record_text(path_of_length(70000)) + record_text(u"C:\\after\\it") +
                                u"C:\\num\\x*" + std::u16string(8000, u'1') + u"*1*1*1*1*0*" +
                                record_text(u"C:\\last\\one");
    const parsed result = parse(header + utf16le(body + u"ENDLIST"), 4096);
    ASSERT_EQ(result.records.size(), 3u);
    EXPECT_EQ(result.records[0].path.size(), 5999u);
    EXPECT_EQ(result.records[1].path, L"C:\\after\\it");
    EXPECT_EQ(result.records[2].path, L"C:\\last\\one");
    EXPECT_EQ(result.dropped, 3u);
}

TEST(ListFormat, TokenValuesFollowTheRuntimeReader) {
    const wchar_t* tokens[] = {L"0",   L"42",  L" \t17x", L"+8",  L"-12", L"abc", L"", L"  ",
                               L"007", L"1 2", L"-",      L"4294967296",
                               L"9223372036854775807",    L"-9223372036854775808", L"C:\\0000000000000000"};
    for (const wchar_t* token : tokens) EXPECT_EQ(list_token_value(token), _wtoi64(token)) << token;

    // Out of range, Windows' runtime saturates (Wine's wraps): a long run of digits
    // is never the 0 that would take it for a path.
    EXPECT_EQ(list_token_value(L"18446744073709551616"), INT64_MAX);
    EXPECT_EQ(list_token_value(L"-99999999999999999999"), INT64_MIN);
}
