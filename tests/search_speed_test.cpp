// What the search costs, seen from outside: files of a size no other file has are
// never opened, and an empty file is opened once however many partners it has.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "search/checksum_pass.h"
#include "search/group_compare.h"
#include "search/list_file.h"
#include "support/search_fixture.h"
#include "ui/results_list.h"

using namespace test_support;

namespace {

class SearchSpeed : public search_worker_test {
protected:
    // Each row as its three cells joined, each followed by "|".
    static std::vector<std::wstring> rows() {
        std::vector<std::wstring> out;
        for (const list_row& row : read_list_rows()) out.push_back(row[0] + L"|" + row[1] + L"|" + row[2] + L"|");
        return out;
    }
};

}  // namespace

TEST_F(SearchSpeed, AFileOfAUniqueSizeIsNeverOpenedAndSavedWithChecksumZero) {
    for (int i = 0; i < 5; ++i) tree_.make_file(L"unique" + std::to_wstring(i), std::string(10 + i, 'u'));
    // One unique file cannot even be opened: nothing notices, as nothing opens it.
    HANDLE lock = CreateFileW((tree_ / L"unique0").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    tree_.make_file(L"x", "a twin pair....");
    tree_.make_file(L"sub\\y", "a twin pair....");
    tree_.make_file(L"z", "other content..");  // the same size, another checksum
    for (int i = 0; i < 40; ++i) tree_.make_file(L"empty\\e" + std::to_wstring(i), "");

    const uint64_t summed_before = orvkit::checksum_pass_opens(), held_before = orvkit::group_compare_opens();
    start_search(2, tree_.path());
    ASSERT_TRUE(finished());
    CloseHandle(lock);
    EXPECT_EQ(orvkit::checksum_pass_opens() - summed_before, 3u) << "x, y and z are summed; empty files are not";
    EXPECT_EQ(orvkit::group_compare_opens() - held_before, 40u) << "each empty file once, for 780 pairs; x and y were kept by the checksum pass";
    EXPECT_EQ(twin_count.load(), 1 + 40 * 39 / 2);
    const auto first = rows();
    EXPECT_EQ(std::count(first.begin(), first.end(), tree_ / L"sub\\y|" + tree_ / L"x|100|"), 1)
        << "walk order: sub before x";

    auto saved = orvkit::make_file_list();
    ASSERT_EQ(orvkit::read_list_file(*saved, L"LastList.txt"), 48);
    for (const auto& record : saved->records) {
        const bool paired = record->path == tree_ / L"x" || record->path == tree_ / L"sub\\y";
        if (paired) {
            EXPECT_NE(record->checksum, 0u) << "summed: its size is shared";
        }
        if (record->path.find(L"unique") != std::wstring::npos) {
            EXPECT_EQ(record->checksum, 0u);
        }
    }

    // Resumed over the saved index: the same rows (the summary counts no folders).
    std::atomic_store(&app_state->loaded_list, saved);
    start_search(2, tree_ / L"nowhere");
    ASSERT_TRUE(finished());
    auto resumed = rows();
    ASSERT_EQ(resumed.size(), first.size());
    EXPECT_EQ(std::vector<std::wstring>(resumed.begin(), resumed.end() - 1),
              std::vector<std::wstring>(first.begin(), first.end() - 1));
}
