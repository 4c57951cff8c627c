#include <gtest/gtest.h>

#include <memory>

#include "search/directory_walk.h"
#include "search/file_list.h"
#include "support/temp_folder.h"

using namespace orvkit;

namespace {

std::unique_ptr<file_record> record_named(const wchar_t* path, uint64_t size = 0) {
    auto record = std::make_unique<file_record>();
    record->path = path;
    record->size = size;
    return record;
}

std::vector<std::wstring> paths_of(const orvFileList& list) {
    std::vector<std::wstring> paths;
    for (const auto& record : list.records) paths.push_back(record->path);
    return paths;
}

}  // namespace

TEST(FileList, NewListIsEmptyWithItsBuffer) {
    auto list = make_file_list();
    EXPECT_TRUE(list->records.empty());
    EXPECT_EQ(list->record_count.load(), 0);
    EXPECT_EQ(list->status.load(), 0u);
    EXPECT_EQ(list->total_bytes + list->deleted_bytes + list->empty_folders_removed + list->folders_visited, 0u);
    EXPECT_EQ(list->marker_suffix, L"\\FCBackDB.txt");
    EXPECT_EQ(list->pattern_suffix, L"\\*.*");
    EXPECT_NE(list->read_buffer, nullptr);
    EXPECT_EQ(list->read_buffer_bytes, 20000064u);
}

TEST(FileList, RemoveRecordKeepsTheOrderAndPublishesTheCount) {
    orvFileList list(16);
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) list.append_record(record_named(name));
    list.remove_record(1);
    EXPECT_EQ(paths_of(list), (std::vector<std::wstring>{L"a", L"c", L"d"}));
    EXPECT_EQ(list.record_count.load(), 3);
    list.remove_record(2);
    EXPECT_EQ(paths_of(list), (std::vector<std::wstring>{L"a", L"c"}));
    list.remove_record(7);  // out of range: nothing happens
    EXPECT_EQ(list.record_count.load(), 2);
}

TEST(FileList, ClearEmptiesRecordsCountAndTotal) {
    orvFileList list(16);
    list.append_record(record_named(L"a", 5));
    list.total_bytes = 5;
    list.publish_count();
    list.clear();
    EXPECT_TRUE(list.records.empty());
    EXPECT_EQ(list.record_count.load(), 0);
    EXPECT_EQ(list.total_bytes, 0u);
}

TEST(FileList, AppendGrowsByHalfAndKeepsEveryRecord) {
    orvFileList list(16);
    std::size_t last_capacity = 0;
    for (int i = 0; i < 1000; ++i) {
        list.append_record(record_named(std::to_wstring(i).c_str()));
        const std::size_t capacity = list.records.capacity();
        if (capacity != last_capacity && last_capacity >= 4) {
            EXPECT_EQ(capacity, last_capacity + last_capacity / 2);
        }
        last_capacity = capacity;
    }
    ASSERT_EQ(list.records.size(), 1000u);
    EXPECT_EQ(list.records[999]->path, L"999");
}

// Without its 20 MB buffer a list still works: checksums fall back to a small buffer
// of the same word alignment and give the same values.
TEST(FileList, MissingReadBufferGivesTheSameChecksums) {
    test_support::temp_folder folder;
    std::string content;
    for (int i = 0; i < 300000; ++i) content += static_cast<char>(i * 7 + i / 256);
    const std::wstring file = folder.make_file(L"data.bin", content);

    orvFileList starved(static_cast<std::size_t>(1) << 62);
    ASSERT_EQ(starved.read_buffer, nullptr);
    EXPECT_EQ(starved.read_buffer_bytes, 0u);
    auto normal = make_file_list();
    const uint32_t expected = content_checksum(file, *normal);
    EXPECT_NE(expected, 0u);
    EXPECT_EQ(content_checksum(file, starved), expected);

    starved.mode = 2;
    starved.compute_checksums = 1;
    walk_folder(starved, folder.path(), false);
    ASSERT_EQ(starved.records.size(), 1u);
    EXPECT_EQ(starved.records[0]->checksum, expected);
}
