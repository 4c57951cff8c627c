// The recycle bin's items read from its own records: Windows' $Recycle.Bin layout, laid out by hand.
#include <gtest/gtest.h>

#include "shell/bin_records.h"
#include "shell/recycle_bin.h"
#include "support/temp_folder.h"

using namespace orvkit;
using namespace test_support;

namespace {

void make_record(const temp_folder& bin, const std::wstring& name, const bin_record& record) {
    const std::vector<uint8_t> bytes = bin_record_bytes(record);
    bin.make_file(name, std::string(bytes.begin(), bytes.end()));
}

}  // namespace

// Only whole items are read: a record without its item, a folder item and a foreign record are passed over; restoring it moves it back and drops its record.
TEST(RecycleBin, AWindowsBinIsReadFromItsRecordsAndAnItemGoesBackToItsPath) {
    temp_folder bin, home;
    const std::wstring original = home / L"docs\\r.txt";
    const bin_record record{L"R:\\Docs\\R.TXT", 5, 134097408120000000ull};
    make_record(bin, L"$IAB12CD.txt", record);
    bin.make_file(L"$RAB12CD.txt", "hello");
    make_record(bin, L"$IOTHER.txt", {L"R:\\docs\\other.txt", 5, record.deleted_at});
    bin.make_file(L"$ROTHER.txt", "hello");
    make_record(bin, L"$INOITEM.txt", record);
    make_record(bin, L"$IFOLDER", record);
    bin.make_folder(L"$RFOLDER");
    bin.make_file(L"$IBROKEN.txt", "not a record");
    bin.make_file(L"$RBROKEN.txt", "hello");

    std::vector<bin_item> items = windows_bin_items(bin.path());
    EXPECT_EQ(items.size(), 2u) << "the two whole items";
    EXPECT_TRUE(windows_bin_items(bin.path(), ~uint64_t{0} >> 1).empty()) << "none recycled since";
    std::erase_if(items, [](const bin_item& item) { return case_key(item.original) != L"R:\\DOCS\\R.TXT"; });
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].item, bin / L"$RAB12CD.txt");
    EXPECT_EQ(items[0].record, bin / L"$IAB12CD.txt");
    EXPECT_EQ(items[0].size, 5u);
    EXPECT_EQ(items[0].time, L"134097408120000000");
    bin_item again;
    ASSERT_TRUE(read_bin_item(items[0].item, again));
    EXPECT_EQ(again.original, record.original_path);

    again.original = original;
    EXPECT_EQ(restore_bin_item(again), L"");
    EXPECT_EQ(read_file(original), "hello");
    EXPECT_FALSE(exists(bin / L"$IAB12CD.txt") || exists(bin / L"$RAB12CD.txt"));
    bin.make_file(L"$RAB12CD.txt", "again");
    EXPECT_EQ(restore_bin_item(again), L"a file already stands at its path");
    EXPECT_EQ(read_file(original), "hello");
}
