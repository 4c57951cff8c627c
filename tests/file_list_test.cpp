// The index's records: paths kept as folder and name and given back whole, records across blocks, pruned records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_list.h"

using namespace orvkit;

TEST(FileList, EveryPathComesBackAsItWasAdded) {
    orvFileList list(0);
    const std::wstring paths[] = {L"C:\\x", L"C:\\dir\\", L"name only", L"\\\\server\\share\\f", L"C:\\d\\b",
                                  L"C:\\d\\" + std::wstring(33000, L'\u65e5'), std::wstring(40000, L'n'), L"C:\\d\\c"};
    for (const std::wstring& path : paths) list.add_record(path, {.size = path.size()});
    ASSERT_EQ(list.records.size(), std::size(paths));
    for (std::size_t i = 0; i < std::size(paths); ++i) {
        EXPECT_EQ(list.records[i]->path(), paths[i]) << i;
        EXPECT_EQ(list.records[i]->path_length(), paths[i].size()) << i;
        EXPECT_EQ(list.records[i]->size, paths[i].size()) << i;
    }
    EXPECT_EQ(list.records[4]->folder, list.records[7]->folder) << "one folder kept once";
}

// Every third record of 3,000 (three blocks) pruned: the others stay, in order, counted.
TEST(FileList, DroppingPrunedRecordsKeepsTheOthersInOrder) {
    orvFileList list(0);
    std::vector<std::wstring> kept;
    for (int i = 0; i < 3000; ++i) {
        const std::wstring path = L"C:\\f" + std::to_wstring(i % 7) + L"\\" + std::to_wstring(i);
        list.add_record(path).pruned = i % 3 == 1;
        if (i % 3 != 1) kept.push_back(path);
    }
    list.drop_pruned();
    std::vector<std::wstring> paths;
    for (const file_record* record : list.records) paths.push_back(record->path());
    EXPECT_EQ(paths, kept);
    EXPECT_EQ(list.record_count.load(), 2000);
}
