#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/state.h"
#include "search/directory_walk.h"
#include "search/list_file.h"
#include "support/pump.h"
#include "support/search_harness.h"

using namespace test_support;

namespace {

class SearchWorker : public testing::Test {
protected:
    void SetUp() override {
        data_ = std::make_unique<temp_folder>();
        start_program(data_->path());
        settings().match_percentage = 100;
        settings().use_hash = 1;
        settings().check_zero_length = 1;
        settings().remove_empty_dirs = 0;
    }
    void TearDown() override { DestroyWindow(app_state->main_window); }

    static orvkit::settings_block& settings() { return app_state->settings; }
    void search(uint32_t mode, const std::wstring& a, const std::wstring& b = L"") {
        search_mode = mode;
        path_a = a;
        path_b = b;
        ASSERT_TRUE(run_search());
    }
    std::wstring data(const wchar_t* name) const { return data_->path() + L"\\" + name; }

    temp_folder tree_;
    std::unique_ptr<temp_folder> data_;
};

std::string bytes_with_changes(std::size_t size, std::size_t changes) {
    std::string content(size, 'x');
    for (std::size_t i = 0; i < changes; ++i) content[i * (size / changes)] = 'y';
    return content;
}

}  // namespace

TEST_F(SearchWorker, ThreeIdenticalFilesGiveThreeRowsInOrderAndTheSummary) {
    const auto a1 = tree_.make_file(L"a1.txt", "same content");
    const auto a2 = tree_.make_file(L"a2.txt", "same content");
    const auto a3 = tree_.make_file(L"sub\\a3.txt", "same content");
    tree_.make_file(L"other.txt", "different!!!");
    search(2, tree_.path());
    const auto rows = list_rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][0], L"Start");
    EXPECT_EQ(rows[0][1], L"4 files found");
    EXPECT_EQ(rows[1], (list_row{a1, a2, L"100"}));
    EXPECT_EQ(rows[2], (list_row{a1, a3, L"100"}));
    EXPECT_EQ(rows[3], (list_row{a2, a3, L"100"}));
    EXPECT_EQ(rows[4][0], L"Finished");
    EXPECT_EQ(rows[4][1], L"3 twins found in 4 files. Total original size 48 bytes. Total deleted 0 bytes. "
                          L"Total folders 1 with 0 empty folders deleted.");
    EXPECT_EQ(twin_count.load(), 3);
    EXPECT_EQ(progress_percent.load(), 101);
    EXPECT_EQ(pause_code.load(), 0);
    EXPECT_TRUE(exists(data(L"LastList.txt"))) << "the fresh index is saved";
    EXPECT_FALSE(exists(data(L"LastListPruned.txt"))) << "nothing was pruned";
}

TEST_F(SearchWorker, MatchPercentageDecidesWhatIsListed) {
    tree_.make_file(L"a.bin", bytes_with_changes(1000, 0));
    tree_.make_file(L"b.bin", bytes_with_changes(1000, 50));
    settings().match_percentage = 90;
    search(1, tree_.path());
    auto rows = list_rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][2], L"95");

    settings().match_percentage = 96;
    search(1, tree_.path());
    rows = list_rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0], L"Finished");
    EXPECT_EQ(twin_count.load(), 0);
}

TEST_F(SearchWorker, QuickDirWithHashNeverComparesFilesOfDifferentChecksums) {
    tree_.make_file(L"a.bin", bytes_with_changes(1000, 0));
    tree_.make_file(L"b.bin", bytes_with_changes(1000, 1));
    settings().match_percentage = 50;
    search(2, tree_.path());
    EXPECT_EQ(twin_count.load(), 0) << "different checksums: not even compared";
    search(1, tree_.path());
    ASSERT_EQ(twin_count.load(), 1) << "Directory mode compares every equal-size pair";
    EXPECT_EQ(list_rows()[1][2], L"99");
}

TEST_F(SearchWorker, EmptyFilesFollowTheZeroLengthOption) {
    tree_.make_file(L"e1", "");
    tree_.make_file(L"e2", "");
    search(2, tree_.path());
    ASSERT_EQ(twin_count.load(), 1);
    EXPECT_EQ(list_rows()[1][2], L"100");
    settings().check_zero_length = 0;
    search(2, tree_.path());
    EXPECT_EQ(twin_count.load(), 0);
}

TEST_F(SearchWorker, FewerThanTwoFilesEndAtOnce) {
    tree_.make_file(L"only.txt", "x");
    search(2, tree_.path());
    const auto rows = list_rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], L"Finished");
    EXPECT_EQ(rows[0][1].rfind(L"0 twins found in 0 files.", 0), 0u);
    EXPECT_EQ(rows[1][0], L"Indexing");

    search(2, tree_ / L"missing");
    EXPECT_EQ(list_rows()[0][0], L"Finished");
}

TEST_F(SearchWorker, NoFileIsEverItsOwnTwin) {
    const auto x = tree_.make_file(L"x.txt", "twin");
    const auto y = tree_.make_file(L"sub\\y.txt", "twin");
    search(3, tree_.path(), tree_ / L"sub");  // B inside A: y is indexed twice
    for (const auto& row : list_rows()) EXPECT_NE(row[0], row[1]);
    EXPECT_EQ(twin_count.load(), 2) << "x-y from each walk, never y-y";

    temp_folder other;
    other.make_file(L"real\\only.txt", "one copy");
    other.make_link(L"alias", other / L"real");
    search(3, other / L"real", other / L"alias");
    EXPECT_EQ(twin_count.load(), 0) << "a link reaches the same file";

    search(3, tree_ / L"sub", tree_ / L"sub");
    EXPECT_EQ(twin_count.load(), 0) << "the same folder twice";
    EXPECT_TRUE(exists(y));
}

TEST_F(SearchWorker, UnreadableFileBIsPrunedAndThePrunedListSaved) {
    tree_.make_file(L"a.txt", "same");
    const auto locked = tree_.make_file(L"b.txt", "same");
    tree_.make_file(L"c.txt", "same");
    HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    search(1, tree_.path());
    EXPECT_EQ(twin_count.load(), 1) << "only a-c";
    EXPECT_EQ(std::atomic_load(&app_state->scan_list)->records.size(), 2u);
    ASSERT_TRUE(exists(data(L"LastListPruned.txt")));
    const std::string first = read_file(data(L"LastListPruned.txt"));

    tree_.make_file(L"d.txt", "same");
    search(1, tree_.path());
    CloseHandle(lock);
    EXPECT_EQ(read_file(data(L"LastListPunedLast.txt")), first) << "the previous pruned list is kept";
    EXPECT_NE(read_file(data(L"LastListPruned.txt")), first);
}

TEST_F(SearchWorker, ResumedSearchAdoptsTheLoadedListWithoutWalking) {
    tree_.make_file(L"a.txt", "same");
    tree_.make_file(L"b.txt", "same");
    search(1, tree_.path());
    ASSERT_EQ(twin_count.load(), 1);
    const std::string saved = read_file(data(L"LastList.txt"));

    auto loaded = orvkit::make_file_list();
    ASSERT_EQ(orvkit::read_list_file(*loaded, L"LastList.txt"), 2);
    loaded->folders_visited = 7;
    std::atomic_store(&app_state->loaded_list, loaded);
    tree_.make_file(L"c.txt", "same");  // not walked: stays unknown to the search
    search(1, tree_ / L"nowhere");
    const auto rows = list_rows();
    ASSERT_EQ(twin_count.load(), 1);
    EXPECT_EQ(rows[0][1], L"2 files found");
    EXPECT_NE(rows.back()[1].find(L"Total folders 7 "), std::wstring::npos);
    EXPECT_EQ(std::atomic_load(&app_state->scan_list), loaded);
    EXPECT_EQ(read_file(data(L"LastList.txt")), saved) << "an adopted list is not written again";
}

TEST_F(SearchWorker, AbortDuringTheWalkSavesThePartialIndex) {
    for (int folder = 0; folder < 1000; ++folder) tree_.make_file(L"d" + std::to_wstring(folder) + L"\\f", "same");
    search_mode = 2;
    path_a = tree_.path();
    start_search();
    ASSERT_TRUE(pump_until([] {
        auto list = std::atomic_load(&app_state->scan_list);
        return run_status.load() == 200 && list && list->record_count.load() > 0;
    }));
    request_abort();
    ASSERT_TRUE(pump_until([] { return run_status.load() == 0 && progress_percent.load() == 101; }));
    const auto rows = list_rows();
    EXPECT_EQ(rows[0][0], L"Aborted");
    EXPECT_EQ(twin_count.load(), 0) << "no comparison after an abort";
    EXPECT_TRUE(exists(data(L"LastList.txt")));
    EXPECT_LT(std::atomic_load(&app_state->scan_list)->records.size(), 1000u);
}

TEST_F(SearchWorker, AbortBeforeTheWalkBeginsStopsIt) {
    for (int folder = 0; folder < 50; ++folder) tree_.make_file(L"d" + std::to_wstring(folder) + L"\\f", "same");
    search_mode = 2;
    path_a = tree_.path();
    request_abort();  // as if clicked before the worker made its list
    run_status = 1;
    ASSERT_TRUE(run_search());
    EXPECT_EQ(list_rows()[0][0], L"Aborted");
    EXPECT_TRUE(std::atomic_load(&app_state->scan_list)->records.empty());
}

TEST_F(SearchWorker, AbortDuringTheComparisonStopsAfterThePairInHand) {
    for (int i = 0; i < 150; ++i) tree_.make_file(L"f" + std::to_wstring(1000 + i), "same");
    search_mode = 1;
    path_a = tree_.path();
    start_search();
    ASSERT_TRUE(pump_until([] { return twin_count.load() > 10 || run_status.load() == 0; }));
    request_abort();
    ASSERT_TRUE(pump_until([] { return run_status.load() == 0 && progress_percent.load() == 101; }));
    const auto rows = list_rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back()[0], L"Aborted");
    EXPECT_EQ(static_cast<int>(rows.size()), twin_count.load() + 2);
    EXPECT_LT(twin_count.load(), 150 * 149 / 2);
}

// Three identical files with automatic removal: one copy always survives.
class AutomaticRemoval : public SearchWorker, public testing::WithParamInterface<std::tuple<uint32_t, char>> {};

TEST_P(AutomaticRemoval, RemovesOneFileOfEachPairAndKeepsACopy) {
    const auto [mode, column] = GetParam();
    const std::wstring a1 = tree_.make_file(L"a1.dat", "identical");
    const std::wstring a2 = tree_.make_file(L"a2.dat", "identical");
    const std::wstring a3 = tree_.make_file(L"a3.dat", "identical");
    temp_folder moved;
    app_state->deletions.delete_mode = mode;
    app_state->deletions.move_dir = moved.path();
    remove_when_found = 1;
    (column == 'A' ? remove_column_a : remove_column_b) = 1;
    search(1, tree_.path());

    const auto rows = list_rows();
    const std::wstring done = column == 'A' ? L"Deleted A" : L"Deleted B";
    for (int row = 1; row <= twin_count.load(); ++row) EXPECT_EQ(rows[row][2], done);
    const std::wstring survivor = column == 'A' ? a3 : a1;
    EXPECT_TRUE(exists(survivor));
    for (const auto& path : {a1, a2, a3})
        if (path != survivor) EXPECT_FALSE(exists(path));
    // Each removed file is counted once, however many rows name it.
    EXPECT_NE(rows.back()[1].find(L"Total deleted 18 bytes."), std::wstring::npos) << std::wstring(rows.back()[1]);
    if (mode == 2) {
        EXPECT_TRUE(exists(moved / L"a2.dat"));
        EXPECT_TRUE(exists(moved / (column == 'A' ? L"a1.dat" : L"a3.dat")));
    }
}

std::string removal_case_name(const testing::TestParamInfo<std::tuple<uint32_t, char>>& info) {
    const char* modes[] = {"Recycle", "Delete", "Move"};
    return std::string(modes[std::get<0>(info.param)]) + "Column" + std::get<1>(info.param);
}

INSTANTIATE_TEST_SUITE_P(ModesAndColumns, AutomaticRemoval,
                         testing::Combine(testing::Values(0u, 1u, 2u), testing::Values('A', 'B')),
                         removal_case_name);

TEST_F(SearchWorker, FailedDeletionIsNotShownAsDone) {
    tree_.make_file(L"a.dat", "identical");
    const std::wstring b = tree_.make_file(L"b.dat", "identical");
    SetFileAttributesW(b.c_str(), FILE_ATTRIBUTE_READONLY);
    app_state->deletions.delete_mode = 1;
    app_state->deletions.override_read_only = 0;
    remove_when_found = 1;
    remove_column_b = 1;
    search(1, tree_.path());
    const auto rows = list_rows();
    ASSERT_EQ(twin_count.load(), 1);
    EXPECT_EQ(rows[1][2], L"Not deleted B");
    EXPECT_NE(rows.back()[1].find(L"Total deleted 0 bytes."), std::wstring::npos);
    EXPECT_TRUE(exists(b));
    SetFileAttributesW(b.c_str(), FILE_ATTRIBUTE_NORMAL);
}
