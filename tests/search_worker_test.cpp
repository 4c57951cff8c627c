#include <gtest/gtest.h>
#include <windows.h>

#include "search/list_file.h"
#include "support/search_fixture.h"
#include "ui/results_list.h"

using namespace test_support;

namespace {

using test_support::list_row;

using SearchWorker = search_worker_test;

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
    EXPECT_EQ(progress_percent.load(), orvkit::progress_finished);
    EXPECT_TRUE(exists(data(L"LastList.txt"))) << "the fresh index is saved";
    EXPECT_FALSE(exists(data(L"LastListPruned.txt"))) << "nothing was pruned";
}

TEST_F(SearchWorker, PercentageHashAndEmptyFilesDecideWhatIsListed) {
    tree_.make_file(L"a.bin", bytes_with_changes(1000, 0));
    tree_.make_file(L"b.bin", bytes_with_changes(1000, 50));
    settings().match_percentage = 90;
    search(1, tree_.path());
    ASSERT_EQ(twin_count.load(), 1);
    EXPECT_EQ(list_rows()[1][2], L"95");
    settings().match_percentage = 96;
    search(1, tree_.path());
    EXPECT_EQ(twin_count.load(), 0);
    EXPECT_EQ(list_rows()[1][0], L"Finished");

    settings().match_percentage = 50;
    search(2, tree_.path());
    EXPECT_EQ(twin_count.load(), 0) << "Quick Dir with Hash: different checksums are never compared";

    temp_folder empty;
    empty.make_file(L"e1", "");
    empty.make_file(L"e2", "");
    search(2, empty.path());
    ASSERT_EQ(twin_count.load(), 1);
    EXPECT_EQ(list_rows()[1][2], L"100");
    settings().check_zero_length = 0;
    search(2, empty.path());
    EXPECT_EQ(twin_count.load(), 0);

    temp_folder single;
    single.make_file(L"only.txt", "x");
    search(2, single.path());
    const auto rows = list_rows();
    ASSERT_EQ(rows.size(), 2u) << "fewer than two files: no comparison";
    EXPECT_EQ(rows[0][0], L"Finished");
    EXPECT_EQ(rows[0][1].rfind(L"0 twins found in 0 files.", 0), 0u);
    EXPECT_EQ(rows[1][0], L"Indexing");
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
    const auto c = tree_.make_file(L"c.txt", "same");
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

    // A file gone since its index was saved is pruned as file B too.
    ASSERT_TRUE(DeleteFileW(c.c_str()));
    auto loaded = orvkit::make_file_list();
    ASSERT_EQ(orvkit::read_list_file(*loaded, L"LastList.txt"), 4);
    std::atomic_store(&app_state->loaded_list, loaded);
    search(1, tree_ / L"nowhere");
    EXPECT_EQ(twin_count.load(), 3) << "a-b, a-d, b-d";
    EXPECT_EQ(loaded->records.size(), 3u) << "c pruned";
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

// An Abort click that lands after the start but before the worker has made its list
// still stops the walk: nothing is indexed and the closing row says so.
TEST_F(SearchWorker, AnAbortBeforeTheWalkBeginsStopsIt) {
    for (int folder = 0; folder < 100; ++folder) tree_.make_file(L"d" + std::to_wstring(folder) + L"\\f", "same");
    orvkit::make_worker_thread = [](LPTHREAD_START_ROUTINE routine, HWND window) {
        orvkit::abort_run();
        return orvkit::create_worker_thread(routine, window);
    };
    search_mode = 1;
    path_a = tree_.path();
    orvkit::start_worker(app_state->main_window);
    ASSERT_TRUE(finished());
    EXPECT_EQ(list_rows()[0][0], L"Aborted");
    EXPECT_TRUE(std::atomic_load(&app_state->scan_list)->records.empty());
}

// A search keeps the options it started with: a menu command while it is paused in
// its comparisons (lower match, automatic removal) changes nothing in it.
TEST_F(SearchWorker, OptionsChangedMidRunDoNotReachTheRunningSearch) {
    const auto a = tree_.make_file(L"a.bin", bytes_with_changes(1000, 0));
    const auto b = tree_.make_file(L"b.bin", bytes_with_changes(1000, 50));
    settings().match_percentage = 100;
    search_mode = 1;
    path_a = tree_.path();
    pause_code = orvkit::pause_paused;
    ResetEvent(go_event.get());
    start_search();
    ASSERT_TRUE(pump_until([] { return run_status.load() == orvkit::status_comparing; }));
    settings().match_percentage = 50;
    remove_column_a = 1;
    pause_code = orvkit::pause_running;
    SetEvent(go_event.get());
    ASSERT_TRUE(finished());
    remove_column_a = 0;
    EXPECT_EQ(twin_count.load(), 0) << "95 % is below the 100 % the run began with";
    EXPECT_TRUE(exists(a) && exists(b)) << "removal was off when the run began";

    search(1, tree_.path());
    EXPECT_EQ(twin_count.load(), 1) << "the next run takes the new match percentage";
}
