#include <gtest/gtest.h>

#include "core/file_list.h"

using namespace orvkit;

namespace {

std::shared_ptr<orvFileList> list_of(std::initializer_list<const wchar_t*> names) {
    auto list = make_file_list();
    for (const wchar_t* name : names) {
        auto record = std::make_unique<file_record>();
        record->path = name;
        list->append_record(std::move(record));
    }
    return list;
}

}  // namespace

TEST(FileList, RemovedRecordsLeaveTheOthersInOrderAndCounted) {
    auto list = list_of({L"a", L"b", L"c", L"d"});
    list->remove_record(1);
    list->remove_record(2);
    ASSERT_EQ(list->records.size(), 2u);
    EXPECT_EQ(list->records[0]->path, L"a");
    EXPECT_EQ(list->records[1]->path, L"c");
    EXPECT_EQ(list->record_count.load(), 2);
}

TEST(FileList, ClearEmptiesTheRecordsAndZeroesTheCounters) {
    auto list = list_of({L"a", L"b"});
    list->total_bytes = 5;
    list->clear();
    EXPECT_TRUE(list->records.empty());
    EXPECT_EQ(list->record_count.load() + static_cast<int64_t>(list->total_bytes), 0);
}
