// The saved list files: exact bytes on disk and back, the backup, a write stopped midway, and the reader on
// damaged, foreign, cut and overlong input.
#include <gtest/gtest.h>

#include "core/globals.h"
#include "core/state.h"
#include "search/list_file.h"
#include "search/list_format.h"
#include "support/temp_folder.h"

using namespace test_support;
using paths = std::vector<std::wstring>;

const std::string header = std::string("\xFF\xFE\x00\x00", 4) + utf16le(u"OFLT0001*");
static std::u16string rec(const std::u16string& p, const std::u16string& f = u"11*22*33*44*55*0*") { return p + u"*" + f; }
static std::u16string long_name(std::size_t length) { return u"C:\\long\\" + std::u16string(length - 8, u'n'); }

// Feeds `bytes` to a parser in pieces of `piece` bytes (0: at once); the paths of the records read.
static paths parse(const std::string& bytes, std::size_t piece = 0, orvFileList* into = nullptr) {
    orvFileList own(16);
    orvFileList& list = into ? *into : own;
    list_file_parser parser(list);
    const std::size_t step = piece ? piece : bytes.size() + 1;
    for (std::size_t at = 0; at < bytes.size(); at += step)
        parser.feed(reinterpret_cast<const uint8_t*>(bytes.data()) + at, std::min(step, bytes.size() - at));
    paths out;
    for (const auto& record : list.records) out.push_back(record->path());
    return out;
}

// Records "<folder>\file <i>.dat" of size `size`, their other fields from i.
static void fill(orvFileList& list, uint32_t count, const std::wstring& folder, uint64_t size = 7) {
    for (uint32_t i = 0; i < count; ++i)
        list.add_record(folder + L"\\file " + std::to_wstring(i) + L".dat",
                        {.checksum = i << 17, .size = size, .written = i, .created = 0x4D5E6F70u + i, .marked = i % 2 == 0});
}

struct ListFile : testing::Test {
    void SetUp() override {
        app_state = std::make_shared<ostrand_state>();
        app_state->data_path = data.path() + L"\\";
    }
    std::string saved(const wchar_t* name) const { return read_file(data / name); }
    std::string save(orvFileList& list, uint32_t count, const std::wstring& folder) const {
        fill(list, count, folder);
        write_list_file(list, L"LastList.txt", L"LastListLast.txt");
        return saved(L"LastList.txt");
    }
    temp_folder data;
};

// Long paths, non-ASCII names, a size past 4 GiB and times kept to their low 32 bits.
TEST_F(ListFile, WrittenBytesReadBackAsWritten) {
    // Linux limits a name to 255 bytes: 120 two-byte letters fit.
    app_state->data_path = data.make_folder(std::wstring(150, L'a') + L"\\" + std::wstring(120, L'\u00df')) + L"\\";
    const std::u16string folder = u"C:\\" + std::u16string(300, u'x') + u"\\\u00c4pfel \u65e5\u672c \U0001F600";
    orvFileList list, loaded(0);  // loaded(0): the reader brings a buffer
    fill(list, 2, std::wstring(folder.begin(), folder.end()), (uint64_t{5} << 30) + 7);
    // A name with "*" (possible on other file systems) would split into fields: it is left out.
    list.add_record(L"C:\\s\\x*1*2*3*4*5*1*C:\\s\\y");
    write_list_file(list, L"LastList.txt", L"LastListLast.txt");
    ASSERT_EQ(read_file(app_state->data_path.full + L"LastList.txt"),
              header + utf16le(u"2*" + folder + u"\\file 0.dat*0*1073741831*1298034544*0*0*1*" + folder +
                  u"\\file 1.dat*131072*1073741831*1298034545*0*1*0*ENDLIST"));
    ASSERT_EQ(read_list_file(loaded, L"LastList.txt"), 2);
    const file_record &first = *loaded.records[0], &last = *loaded.records[1];
    EXPECT_EQ(std::vector<uint64_t>({first.marked, last.checksum, last.size, last.created, last.written, last.marked}),
              std::vector<uint64_t>({1, 131072, 1073741831, 1298034545, 1, 0}));
}

TEST_F(ListFile, NothingIsReadOrWrittenWithoutAState) {
    orvFileList list, loaded;
    const std::string bytes = save(list, 3, L"C:\\list");
    app_state.reset();
    list.remove_record(0);
    write_list_file(list, L"LastList.txt", L"LastListLast.txt");
    EXPECT_EQ(read_list_file(loaded, L"LastList.txt"), 0);
    EXPECT_EQ(saved(L"LastList.txt"), bytes);
}

// After its first chunk has gone to disk: no file of its own is left either.
TEST_F(ListFile, AWriteStoppedMidwayLeavesThePreviousListWhole) {
    orvFileList previous, longer;
    const std::string previous_bytes = save(previous, 3, L"C:\\previous");
    fill(longer, 600, L"C:\\" + std::wstring(1000, L'x'));  // over 1 MiB: more than one chunk
    int chunks = 0;
    write_list_file(longer, L"LastList.txt", L"LastListLast.txt", [&](HANDLE file, const std::string& bytes) {
        return ++chunks == 1 && write_list_chunk(file, bytes);
    });
    EXPECT_EQ(chunks, 2);
    EXPECT_EQ(saved(L"LastList.txt"), previous_bytes);
    EXPECT_EQ(names_in(data.path()), (paths{L"LastList.txt", L"LastListLast.txt"}));
}

// A path of 16+ units where a number belongs starts a new record; shifted fields never make one; a bad number or
// path drops its record (20 digits are never a path).
TEST(ListFormat, ADamagedRecordIsDroppedAlone) {
    const std::u16string body = u"9*" + rec(u"C:\\ok\\first") + u"C:\\one\\broken.txt*22*33*44*55*0*" +
        rec(u"C:\\ok\\third file.txt", u"7*8*9*10*11*1*") + u"C:\\a\\2*22*33*44*55*0*" + rec(u"C:\\a\\3") +
        rec(u"C:\\a\\4") + rec(u"C:\\aligned\\again.txt") + rec(u"C:\\bad\\negative", u"1*-5*0*0*0*0*") +
        rec(u"C:\\bad\\abc", u"1*12abc*0*0*0*0*") +
        rec(u"C:\\bad\\checksum", u"4294967296*1*0*0*0*0*") + rec(u"C:\\bad\\marked", u"1*1*0*0*0*2*") +
        rec(u"C:\\bad\\huge", u"1*9223372036854775808*0*0*0*0*") + rec(u"no backslash") + rec(u"") +
        rec(u"C:\\bad\\ctl\u0001x") + rec(u"C:\\digits", u"18446744073709551616*1*0*0*0*0*") +
        rec(u"C:\\ok\\max", u"4294967295*9223372036854775807*0*0*0*1*") + u"ENDLIST";
    orvFileList list(16);
    ASSERT_EQ(parse(header + utf16le(body), 0, &list),
              (paths{L"C:\\ok\\first", L"C:\\ok\\third file.txt", L"C:\\aligned\\again.txt", L"C:\\ok\\max"}));
    const file_record &third = *list.records[1], &max = *list.records[3];
    EXPECT_EQ(std::vector<uint64_t>({third.checksum, third.size, third.created, third.accessed, third.written,
                                     third.marked, list.records[2]->checksum, max.checksum, max.size, max.marked}),
              std::vector<uint64_t>({7, 8, 9, 10, 11, 1, 11, 4294967295u, 9223372036854775807u, 1}));
    EXPECT_EQ(parse(header + utf16le(rec(u"C:\\folder\\file.dat") + rec(u"C:\\x\\y") + u"ENDLIST")),
              (paths{L"C:\\folder\\file.dat", L"C:\\x\\y"})) << "a path where the count belongs";
}

TEST(ListFormat, ForeignInputGivesNoRecord) {
    const std::string body = utf16le(u"2*" + rec(u"C:\\x\\a") + rec(u"C:\\x\\b") + u"ENDLIST");
    for (const std::string& foreign : {header.substr(0, 10), std::string("C:\\x\\a*1*2*3*4*5*0*C:\\x\\b*1*2*3*4*5*0*"),
                                       std::string("\xFF\xFE\x00\x00", 4) + utf16le(u"OFLT0002*") + body,
                                       std::string("\xFF\xFE", 2) + utf16le(u"OFLT0001*") + body})
        EXPECT_TRUE(parse(foreign).empty()) << foreign.size();
}

TEST(ListFormat, ACutFileGivesTheRecordsBeforeTheCut) {
    const paths all = {L"C:\\t\\first", L"C:\\t\\\u00e9t\u00e9 \U0001F600", L"C:\\t\\third"};
    std::string bytes = header + utf16le(u"3*");
    std::vector<std::size_t> ends;
    for (const std::wstring& path : all) ends.push_back((bytes += utf16le(rec({path.begin(), path.end()}))).size());
    bytes += utf16le(u"ENDLIST");
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        const auto complete = std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin();
        for (std::size_t piece = 0; piece <= 5; ++piece)
            ASSERT_EQ(parse(bytes.substr(0, cut), piece), paths(all.begin(), all.begin() + complete)) << cut << "/" << piece;
    }
}

// The reader drops such a token's record; the writer refuses it, and what it accepts reads back as itself.
TEST(ListFormat, TokensPast32767UnitsAreNeitherReadNorWritten) {
    const std::u16string overlong = u"4*" + rec(long_name(5999)) + rec(long_name(6000)) + rec(long_name(70000)) +
                                    rec(u"C:\\after\\it") + u"C:\\num\\x*" + std::u16string(8000, u'1') +
                                    u"*1*1*1*1*0*" + rec(u"C:\\last\\one") + u"ENDLIST";
    EXPECT_EQ(parse(header + utf16le(overlong), 4096),
              (paths{L"C:\\long\\" + std::wstring(5991, L'n'), L"C:\\long\\" + std::wstring(5992, L'n'),
                     L"C:\\after\\it", L"C:\\last\\one"}));
    std::string written;
    append_list_header(written, 3);
    paths long_ones;
    for (const std::size_t length : {5999u, 6000u, 32767u, 32768u}) {
        const std::u16string path = long_name(length);
        orvFileList holder(0);
        const file_record& record = holder.add_record(std::wstring(path.begin(), path.end()));
        EXPECT_EQ(list_record_writable(record), length <= 32767) << length;
        if (!list_record_writable(record)) continue;
        append_list_record(written, record);
        long_ones.push_back(record.path());
    }
    append_list_trailer(written);
    EXPECT_EQ(parse(written, 4096), long_ones);
}
