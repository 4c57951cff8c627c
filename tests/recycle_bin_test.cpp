// The recycle bin's items read from its own records: Windows' $Recycle.Bin layout, laid out by hand.
#include <gtest/gtest.h>

#include "shell/bin_records.h"
#include "shell/recycle_bin.h"
#include "support/temp_folder.h"

using namespace test_support;

// The item of R:\Docs\R.TXT beside a record without its item, a folder item, a foreign record and another path's.
struct RecycleBin : testing::Test {
    void SetUp() override {
        make_record(L"$IAB12CD.txt", record);
        bin.make_file(L"$RAB12CD.txt", "hello");
        make_record(L"$IOTHER.txt", {L"R:\\docs\\other.txt", 5, record.deleted_at});
        bin.make_file(L"$ROTHER.txt", "hello");
        make_record(L"$INOITEM.txt", record);
        make_record(L"$IFOLDER", record);
        bin.make_folder(L"$RFOLDER");
        bin.make_file(L"$IBROKEN.txt", "not a record");
        bin.make_file(L"$RBROKEN.txt", "hello");
    }
    void make_record(const std::wstring& name, const bin_record& r) const {
        const std::vector<uint8_t> bytes = bin_record_bytes(r);
        bin.make_file(name, std::string(bytes.begin(), bytes.end()));
    }
    temp_folder bin, home;
    const bin_record record{L"R:\\Docs\\R.TXT", 5, 134097408120000000ull};
};

TEST_F(RecycleBin, OnlyWholeItemsAreRead) {
    std::vector<bin_item> items = windows_bin_items(bin.path());
    EXPECT_EQ(items.size(), 2u);
    std::erase_if(items, [](const bin_item& item) { return case_key(item.original) != L"R:\\DOCS\\R.TXT"; });
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(std::tuple(items[0].item, items[0].record, items[0].size, items[0].time),
              std::tuple(bin / L"$RAB12CD.txt", bin / L"$IAB12CD.txt", 5ull, L"134097408120000000"));
    bin_item again;
    ASSERT_TRUE(read_bin_item(items[0].item, again));
    EXPECT_EQ(again.original, record.original_path);
}

TEST_F(RecycleBin, OnlyRecordsMadeSinceAMomentAreRead) {
    EXPECT_TRUE(windows_bin_items(bin.path(), ~uint64_t{0} >> 1).empty());
}

TEST_F(RecycleBin, RestoringMovesTheItemBackUnlessAFileTookThePath) {
    bin_item item;
    ASSERT_TRUE(read_bin_item(bin / L"$RAB12CD.txt", item));
    item.original = home / L"docs\\r.txt";
    EXPECT_EQ(restore_bin_item(item), L"");
    EXPECT_EQ(read_file(item.original), "hello");
    EXPECT_FALSE(exists(bin / L"$IAB12CD.txt") || exists(bin / L"$RAB12CD.txt")) << "its record dropped";
    bin.make_file(L"$RAB12CD.txt", "again");
    EXPECT_EQ(restore_bin_item(item), L"a file already stands at its path");
    EXPECT_EQ(read_file(item.original), "hello");
}
