// The saved list files on disk: exact bytes, reading back, the backup copies,
// long and non-ASCII paths, and reading without the list's own buffer.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/state.h"
#include "search/file_list.h"
#include "search/list_file.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::exists;
using test_support::read_file;
using test_support::temp_folder;

namespace {

std::string utf16le(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

// Points the program's data folder at `folder`.
void use_data_folder(const std::wstring& folder) {
    app_state = std::make_shared<ostrand_state>();
    app_state->data_path = folder + L"\\";
}

file_record make_record(const std::wstring& path, uint32_t checksum, uint64_t size, uint64_t created,
                        uint64_t accessed, uint64_t written, bool marked) {
    file_record record;
    record.path = path;
    record.checksum = checksum;
    record.size = size;
    record.created = created;
    record.accessed = accessed;
    record.written = written;
    record.marked = marked;
    return record;
}

void fill(orvFileList& list, const std::vector<file_record>& records) {
    for (const auto& record : records) list.append_record(std::make_unique<file_record>(record));
}

std::vector<std::wstring> paths_of(const orvFileList& list) {
    std::vector<std::wstring> paths;
    for (const auto& record : list.records) paths.push_back(record->path);
    return paths;
}

std::vector<file_record> numbered_records(std::size_t count, const std::wstring& folder) {
    std::vector<file_record> records;
    for (std::size_t i = 0; i < count; ++i)
        records.push_back(make_record(folder + L"\\file " + std::to_wstring(i) + L".dat", static_cast<uint32_t>(i * 131072),
                                      i * 1000, 1000 + i, 2000 + i, 3000 + i, i % 3 == 0));
    return records;
}

}  // namespace

TEST(ListFile, TheWrittenFileHasTheDocumentedBytesAndReadsBack) {
    temp_folder dir;
    use_data_folder(dir.path());
    orvFileList list;
    const uint64_t five_gib_and_7 = (uint64_t{5} << 30) + 7;
    const uint64_t time = 0x01DA2B3C4D5E6F70ull;  // a FILETIME in 2024
    fill(list, {make_record(L"C:\\Bilder\\\u00c4pfel \u65e5\u672c \U0001F600.jpg", 0x12340000u, 1234, time, time + 1,
                            time + 2, true),
                make_record(L"D:\\x\\big.iso", 4294967295u, five_gib_and_7, 0, 1, 4294967296ull + 9, false)});
    write_list_file(list, L"LastList.txt", L"LastListLast.txt");

    const std::string expected =
        std::string("\xFF\xFE\x00\x00", 4) +
        utf16le(u"OFLT0001*2*"
                u"C:\\Bilder\\\u00c4pfel \u65e5\u672c \U0001F600.jpg*305397760*1234*1298034544*1298034545*1298034546*1*"
                u"D:\\x\\big.iso*4294967295*1073741831*0*1*9*0*"
                u"ENDLIST");
    ASSERT_EQ(read_file(dir / L"LastList.txt"), expected);

    orvFileList loaded;
    loaded.total_bytes = 0;
    EXPECT_EQ(read_list_file(loaded, L"LastList.txt"), 2);
    EXPECT_EQ(loaded.record_count.load(), 2);
    ASSERT_EQ(paths_of(loaded), paths_of(list));
    const file_record& first = *loaded.records[0];
    const file_record& second = *loaded.records[1];
    EXPECT_EQ(first.checksum, 0x12340000u);
    EXPECT_EQ(first.size, 1234u);
    EXPECT_EQ(first.created, time & 0xFFFFFFFFu) << "times keep their low 32 bits";
    EXPECT_EQ(first.written, (time + 2) & 0xFFFFFFFFu);
    EXPECT_TRUE(first.marked);
    EXPECT_EQ(second.checksum, 4294967295u);
    EXPECT_EQ(second.size, five_gib_and_7 & 0xFFFFFFFFu) << "a size past 4 GiB comes back as its low 32 bits";
    EXPECT_EQ(second.written, 9u);
    EXPECT_FALSE(second.marked);
    EXPECT_EQ(loaded.total_bytes + loaded.folders_visited + loaded.empty_folders_removed + loaded.deleted_bytes, 0u);
}

TEST(ListFile, SizesWrittenAsTheirLow32BitsReadAsWritten) {
    temp_folder dir;
    use_data_folder(dir.path());
    dir.make_file(L"LastList.txt", std::string("\xFF\xFE\x00\x00", 4) +
                                       utf16le(u"OFLT0001*2*C:\\a\\b*0*7*1*2*3*0*C:\\a\\c*0*7*1*2*3*1*ENDLIST"));
    orvFileList loaded;
    ASSERT_EQ(read_list_file(loaded, L"LastList.txt"), 2);
    EXPECT_EQ(loaded.records[0]->size, 7u);
    EXPECT_EQ(loaded.records[1]->size, 7u);
    EXPECT_TRUE(loaded.records[1]->marked);
}

TEST(ListFile, EachRewriteKeepsThePreviousFileAsItsBackup) {
    temp_folder dir;
    use_data_folder(dir.path());
    orvFileList first;
    fill(first, numbered_records(3, L"C:\\first"));
    orvFileList second;
    fill(second, numbered_records(4, L"C:\\second"));

    write_list_file(first, L"LastList.txt", L"LastListLast.txt");
    EXPECT_FALSE(exists(dir / L"LastListLast.txt")) << "nothing to back up yet";
    const std::string first_bytes = read_file(dir / L"LastList.txt");
    ASSERT_FALSE(first_bytes.empty());
    write_list_file(second, L"LastList.txt", L"LastListLast.txt");
    EXPECT_EQ(read_file(dir / L"LastListLast.txt"), first_bytes);
    const std::string second_bytes = read_file(dir / L"LastList.txt");
    EXPECT_NE(second_bytes, first_bytes);

    write_list_file(second, L"LastListPruned.txt", L"LastListPunedLast.txt");
    write_list_file(first, L"LastListPruned.txt", L"LastListPunedLast.txt");
    EXPECT_EQ(read_file(dir / L"LastListPunedLast.txt"), second_bytes);
    EXPECT_EQ(read_file(dir / L"LastListPruned.txt"), first_bytes);
    EXPECT_EQ(read_file(dir / L"LastList.txt"), second_bytes) << "the pruned pair leaves the other files alone";

    // Fewer than two records leave an empty file, which reads as no records.
    orvFileList one;
    fill(one, numbered_records(1, L"C:\\one"));
    write_list_file(one, L"LastList.txt", L"LastListLast.txt");
    EXPECT_EQ(read_file(dir / L"LastListLast.txt"), second_bytes);
    EXPECT_TRUE(exists(dir / L"LastList.txt"));
    EXPECT_EQ(read_file(dir / L"LastList.txt"), "");
    orvFileList loaded;
    EXPECT_EQ(read_list_file(loaded, L"LastList.txt"), 0);
}

TEST(ListFile, MissingForeignCutAndUnwritableFilesAreHarmless) {
    temp_folder dir;
    use_data_folder(dir.path());
    orvFileList list;
    fill(list, numbered_records(3, L"C:\\data"));

    orvFileList missing;
    EXPECT_EQ(read_list_file(missing, L"LastList.txt"), 0);
    EXPECT_EQ(missing.record_count.load(), 0);

    dir.make_file(L"LastList.txt", "id,name\r\n1,C:\\x\\a*2*3*4*5*6*0*C:\\x\\b*2*3*4*5*6*0*ENDLIST\r\n");
    orvFileList foreign;
    EXPECT_EQ(read_list_file(foreign, L"LastList.txt"), 0);

    write_list_file(list, L"LastListPruned.txt", L"LastListPunedLast.txt");
    const std::string whole = read_file(dir / L"LastListPruned.txt");
    const std::size_t third_record = whole.find(utf16le(u"C:\\data\\file 2.dat"));
    ASSERT_NE(third_record, std::string::npos);
    dir.make_file(L"LastListPruned.txt", whole.substr(0, third_record + 11));
    orvFileList cut;
    EXPECT_EQ(read_list_file(cut, L"LastListPruned.txt"), 2);
    EXPECT_EQ(paths_of(cut), (std::vector<std::wstring>{L"C:\\data\\file 0.dat", L"C:\\data\\file 1.dat"}));

    // A name with "*" (possible on other file systems) would split into fields: it is left out.
    orvFileList starred;
    fill(starred, {make_record(L"C:\\s\\a", 1, 2, 3, 4, 5, false), make_record(L"C:\\s\\x*1*2*3*4*5*1*C:\\s\\y", 1, 2, 3, 4, 5, false),
                   make_record(L"C:\\s\\b", 1, 2, 3, 4, 5, false)});
    write_list_file(starred, L"Starred.txt", L"StarredLast.txt");
    orvFileList starred_back;
    EXPECT_EQ(read_list_file(starred_back, L"Starred.txt"), 2);
    EXPECT_EQ(paths_of(starred_back), (std::vector<std::wstring>{L"C:\\s\\a", L"C:\\s\\b"}));

    // A folder in the file's place: nothing is written and nothing breaks.
    dir.make_folder(L"Blocked.txt");
    write_list_file(list, L"Blocked.txt", L"BlockedLast.txt");
    EXPECT_FALSE(exists(dir / L"BlockedLast.txt"));
    orvFileList blocked;
    EXPECT_EQ(read_list_file(blocked, L"Blocked.txt"), 0);

    // Without the state there is no data folder: nothing is read or written.
    app_state.reset();
    write_list_file(list, L"LastList.txt", L"LastListLast.txt");
    orvFileList stateless;
    EXPECT_EQ(read_list_file(stateless, L"LastList.txt"), 0);
}

TEST(ListFile, LongPathsInTheFileAndInTheDataFolderRoundTrip) {
    temp_folder dir;
    // Linux limits a name to 255 bytes: 120 two-byte letters fit.
    const std::wstring deep = dir.make_folder(std::wstring(150, L'a') + L"\\" + std::wstring(120, L'\u00df'));
    ASSERT_GT(deep.size(), 300u);
    ASSERT_TRUE(exists(deep));
    use_data_folder(deep);
    const std::wstring long_folder = L"C:\\" + std::wstring(200, L'x') + L"\\" + std::wstring(200, L'\u0416');
    std::vector<file_record> records = numbered_records(3, long_folder);
    records.push_back(make_record(long_folder + L"\\" + std::wstring(5000, L'z'), 1, 2, 3, 4, 5, true));
    orvFileList list;
    fill(list, records);
    write_list_file(list, L"LastList.txt", L"LastListLast.txt");
    write_list_file(list, L"LastList.txt", L"LastListLast.txt");
    EXPECT_TRUE(exists(deep + L"\\LastListLast.txt"));

    orvFileList loaded;
    ASSERT_EQ(read_list_file(loaded, L"LastList.txt"), 4);
    EXPECT_EQ(paths_of(loaded), paths_of(list));
    EXPECT_EQ(loaded.records[3]->path.size(), long_folder.size() + 5001);
}

TEST(ListFile, ReadingWorksWithoutTheListBufferAndAppendsToTheList) {
    temp_folder dir;
    use_data_folder(dir.path());
    orvFileList list;
    fill(list, numbered_records(3000, L"C:\\many \u00e9l\u00e8ves"));  // well past one 64 KiB block
    write_list_file(list, L"LastList.txt", L"LastListLast.txt");

    orvFileList own_buffer;
    ASSERT_EQ(read_list_file(own_buffer, L"LastList.txt"), 3000);
    const std::vector<std::wstring> expected = paths_of(list);
    EXPECT_EQ(paths_of(own_buffer), expected);

    orvFileList without;
    without.read_buffer.reset();
    without.read_buffer_bytes = 0;
    EXPECT_EQ(read_list_file(without, L"LastList.txt"), 3000);
    EXPECT_EQ(paths_of(without), expected);

    orvFileList tiny(7);  // blocks end inside code units and tokens
    ASSERT_EQ(tiny.read_buffer_bytes, 7u);
    EXPECT_EQ(read_list_file(tiny, L"LastList.txt"), 3000);
    EXPECT_EQ(paths_of(tiny), expected);
    EXPECT_EQ(tiny.records[2999]->size, 2999000u);
    EXPECT_EQ(tiny.records[2999]->checksum, 2999u * 131072u);

    EXPECT_EQ(read_list_file(tiny, L"LastList.txt"), 6000) << "records are appended to those already held";
    EXPECT_EQ(tiny.record_count.load(), 6000);
}
