// The comparison as its own worker in File mode, writing into the real results list.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "actions/compare.h"
#include "actions/compare_rows.h"
#include "app/globals.h"
#include "app/startup.h"
#include "app/state.h"
#include "support/pump.h"
#include "support/temp_folder.h"
#include "ui/results_list.h"

using namespace orvkit;
using test_support::pump_until;
using test_support::temp_folder;

namespace {

using row = std::array<std::wstring, 3>;

std::string patterned(std::size_t n, uint32_t seed = 1) {
    std::string out(n, '\0');
    std::mt19937 rng(seed);
    for (auto& c : out) c = static_cast<char>(rng());
    return out;
}

std::string with_run(std::string text, std::size_t first, std::size_t length) {
    for (std::size_t i = first; i < first + length; ++i) text[i] = static_cast<char>(text[i] ^ 0x5A);
    return text;
}

row start_row() { return {L"Start", L"", L"Equal"}; }
row end_row(const std::wstring& verdict) { return {L"End", L"", verdict}; }
row difference(uint64_t position, uint64_t length) {
    return {std::to_wstring(position), std::to_wstring(length), L"Different"};
}

class FileComparison : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(initialise(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
        search_mode = 0;
        set_list_columns(app_state->main_window);
        app_state->stop_at_first_difference = 0;
        app_state->settings.check_zero_length = 1;
    }
    void TearDown() override {
        pump_until([] { return run_status.load() == 0; }, 60000);
        DestroyWindow(app_state->main_window);
    }

    // Starts the worker as the Start click does.
    void start(const std::wstring& a, const std::wstring& b) {
        path_a = a;
        path_b = b;
        run_status = 1;
        progress_percent = 0;
        HANDLE thread = CreateThread(nullptr, 0, compare_files, app_state->main_window, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        CloseHandle(thread);
    }
    bool finished(DWORD timeout_ms = 60000) { return pump_until([] { return run_status.load() == 0; }, timeout_ms); }

    std::vector<row> rows() const {
        std::vector<row> out(static_cast<std::size_t>(SendMessageW(list_view, LVM_GETITEMCOUNT, 0, 0)));
        wchar_t cell[cell_text_units];
        for (std::size_t i = 0; i < out.size(); ++i)
            for (int column = 0; column < 3; ++column) {
                list_get_cell(static_cast<int>(i), column, cell);
                out[i][column] = cell;
            }
        return out;
    }
    std::vector<row> compare(const std::string& a, const std::string& b) {
        start(folder.make_file(L"a", a), folder.make_file(L"b", b));
        EXPECT_TRUE(finished());
        EXPECT_EQ(progress_percent.load(), 101);
        EXPECT_EQ(pause_code.load(), 0);
        EXPECT_EQ(compare_buffer_a, nullptr) << "File mode frees its blocks";
        return rows();
    }

    temp_folder folder;
};

}  // namespace

TEST_F(FileComparison, IdenticalFilesAreSame) {
    const std::string text = patterned(5000);
    EXPECT_EQ(compare(text, text), (std::vector<row>{start_row(), end_row(L"Same")}));
}

TEST_F(FileComparison, WorkedExamplesListRunsAndPercentages) {
    const std::string k1 = patterned(1000);
    EXPECT_EQ(compare(k1, with_run(k1, 500, 1)),
              (std::vector<row>{start_row(), difference(500, 1), end_row(L"Files have 99% in common")}));
    EXPECT_EQ(compare(k1, with_run(with_run(k1, 500, 15), 3, 2)),
              (std::vector<row>{start_row(), difference(3, 2), difference(500, 15),
                                end_row(L"Files have 98% in common")}));
    const std::string m = patterned(1048576, 2);
    EXPECT_EQ(compare(m, with_run(m, 0, 524288)),
              (std::vector<row>{start_row(), difference(0, 524288), end_row(L"Files have 50% in common")}));
    const std::string f = patterned(50001, 3);
    EXPECT_EQ(compare(f, with_run(f, 25000, 1)),
              (std::vector<row>{start_row(), difference(25000, 1), end_row(L"Files have 99% in common")}));
}

TEST_F(FileComparison, RunAtTheEndOfTheShorterFileCountsWithoutARow) {
    const std::string k1 = patterned(1000);
    EXPECT_EQ(compare(k1, with_run(k1, 970, 30)), (std::vector<row>{start_row(), end_row(L"Files have 97% in common")}));
    // B is longer: its extra bytes are not compared, the tail of A's length still is.
    const std::string longer = with_run(k1, 990, 10) + "tail";
    EXPECT_EQ(compare(k1, longer),
              (std::vector<row>{start_row(), end_row(L"First 1000 bytes have 99% in common; File A is 1000 bytes, "
                                                    L"File B is 1004 bytes")}));
}

TEST_F(FileComparison, RunsOverTheBlockBoundaryAreSplitThere) {
    const std::size_t block = 10000000;
    const std::string a = patterned(block + 100000, 4);
    std::string b = with_run(a, block - 5, 10);  // 5 bytes in the first block, 5 in the second
    b = with_run(b, block - 1000, 10);           // an ordinary run before it
    b = with_run(b, block + 50000, 3);
    // 10,100,000 bytes = 9863 KiB; 23 differing bytes are no whole KiB, so 99.
    EXPECT_EQ(compare(a, b), (std::vector<row>{start_row(), difference(block - 1000, 10), difference(block, 5),
                                               difference(block + 50000, 3), end_row(L"Files have 99% in common")}));

    // A run that ends exactly at the boundary is counted but never listed.
    EXPECT_EQ(compare(a, with_run(a, block - 7, 7)), (std::vector<row>{start_row(), end_row(L"Files have 99% in common")}));
}

TEST_F(FileComparison, SizesThatDifferAreNamedInTheVerdict) {
    const std::string text = patterned(1500);
    EXPECT_EQ(compare(text.substr(0, 1000), text),
              (std::vector<row>{start_row(), end_row(L"First 1000 bytes the same; File A is 1000 bytes, File B is "
                                                     L"1500 bytes")}));
    EXPECT_EQ(compare(text, text.substr(0, 1000)),
              (std::vector<row>{start_row(), end_row(L"First 1000 bytes the same; File A is 1500 bytes, File B is "
                                                     L"1000 bytes")}));
    EXPECT_EQ(compare("", text), (std::vector<row>{start_row(), end_row(L"File A is 0 bytes, File B is 1500 bytes")}));
}

TEST_F(FileComparison, StopAtFirstDifferenceCountsOneByte) {
    app_state->stop_at_first_difference = 1;
    const std::string t = patterned(10);
    EXPECT_EQ(compare(t, with_run(t, 3, 3)), (std::vector<row>{start_row(), end_row(L"Files have 90% in common")}));
    const std::string h = patterned(100);
    EXPECT_EQ(compare(h, with_run(h, 40, 2)), (std::vector<row>{start_row(), end_row(L"Files have 99% in common")}));
}

TEST_F(FileComparison, EmptyFilesFollowCheckZeroLength) {
    EXPECT_EQ(compare("", ""), (std::vector<row>{end_row(L"Zero size")})) << "no Start row";
    app_state->settings.check_zero_length = 0;
    EXPECT_EQ(compare("", ""), (std::vector<row>{start_row(), end_row(L"Same")}));
}

TEST_F(FileComparison, FilesThatCannotBeOpened) {
    const auto present = folder.make_file(L"present", "content");
    start(folder / L"missing", present);
    ASSERT_TRUE(finished());
    EXPECT_EQ(rows(), (std::vector<row>{end_row(L"Invalid File A")}));
    start(present, folder / L"missing");
    ASSERT_TRUE(finished());
    EXPECT_EQ(rows(), (std::vector<row>{end_row(L"Invalid File B")}));
    EXPECT_EQ(progress_percent.load(), 101);
}

TEST_F(FileComparison, PauseHoldsAndResumeFinishes) {
    const std::string a = patterned(25000000, 6);
    const auto path_1 = folder.make_file(L"a", a);
    const auto path_2 = folder.make_file(L"b", with_run(a, 24000000, 4));
    ResetEvent(go_event);
    pause_code = 5;
    start(path_1, path_2);
    ASSERT_TRUE(pump_until([&] { return rows().size() == 1; }, 20000)) << "the Start row comes before the pause";
    test_support::pump_for(400);
    EXPECT_EQ(run_status.load(), 1) << "still paused";
    EXPECT_EQ(progress_percent.load(), 0) << "no block got through";
    EXPECT_EQ(rows().size(), 1u);
    pause_code = 0;
    SetEvent(go_event);
    ASSERT_TRUE(finished());
    EXPECT_EQ(rows(), (std::vector<row>{start_row(), difference(24000000, 4), end_row(L"Files have 99% in common")}));
}

TEST_F(FileComparison, AbortEndsWithAbortedRow) {
    const std::string a = patterned(25000000, 6);
    const auto path_1 = folder.make_file(L"a", a);
    const auto path_2 = folder.make_file(L"b", with_run(a, 24000000, 4));
    ResetEvent(go_event);
    pause_code = 5;
    start(path_1, path_2);
    ASSERT_TRUE(pump_until([&] { return rows().size() == 1; }, 20000));
    // As the Abort click does.
    run_status = 2;
    pause_code = 10;
    SetEvent(go_event);
    ASSERT_TRUE(finished());
    // Ended before the difference in the third block: counted from what was compared.
    EXPECT_EQ(rows(), (std::vector<row>{start_row(), {L"Aborted", L"", L"Same"}}));
    EXPECT_EQ(pause_code.load(), 0);
}

TEST_F(FileComparison, FileThatShrinksWhilePausedIsNotSame) {
    const std::string a = patterned(3 * 1048576, 8);
    const auto path_1 = folder.make_file(L"a", a);
    const auto path_2 = folder.make_file(L"b", a);
    ResetEvent(go_event);
    pause_code = 5;
    start(path_1, path_2);
    ASSERT_TRUE(pump_until([&] { return rows().size() == 1; }, 20000));
    ASSERT_EQ(test_support::run_unix("truncate -s 100 '" + test_support::to_unix_path(path_2) + "'"), 0);
    pause_code = 0;
    SetEvent(go_event);
    ASSERT_TRUE(finished());
    const auto got = rows();
    ASSERT_EQ(got.size(), 2u);
    // The bytes that could no longer be read count as differing: at most the piece
    // read before the file shrank (well under the first MiB) compared equal.
    const std::wstring prefix = L"Files have ";
    ASSERT_EQ(got[1][2].rfind(prefix, 0), 0u) << got[1][2].c_str();
    EXPECT_LT(std::stoi(got[1][2].substr(prefix.size())), 33) << got[1][2].c_str();
}

TEST_F(FileComparison, RowsStopAtTheLimitAndTheRestAreCounted) {
    EXPECT_EQ(difference_row_limit.load(), 100000u);
    // A list insert costs milliseconds under Wine and Xvfb: 100,000 rows would take
    // many minutes here, so the limit is lowered and the runs scaled with it.
    difference_row_limit = 400;
    // Every odd byte differs: 125,000 runs of one byte, the last never closed.
    const std::size_t size = 250000;
    std::string b(size, 'x');
    for (std::size_t i = 1; i < size; i += 2) b[i] = 'y';
    const auto path_1 = folder.make_file(L"a", std::string(size, 'x'));
    const auto path_2 = folder.make_file(L"b", b);

    // The window keeps answering while the rows pour in (the bound is generous: this
    // checks that the window is never held, not how fast it answers).
    std::atomic<bool> done{false};
    std::atomic<int> slow_answers{0};
    std::atomic<int> answers{0};
    HWND window = app_state->main_window;
    std::thread prober([&] {
        while (!done) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result)) ++slow_answers;
            ++answers;
            Sleep(20);
        }
    });
    start(path_1, path_2);
    const bool ended = finished(120000);
    done = true;
    prober.join();
    ASSERT_TRUE(ended);
    EXPECT_EQ(slow_answers.load(), 0) << "of " << answers.load();

    const auto got = rows();
    ASSERT_EQ(got.size(), 1u + 400u + 2u);
    EXPECT_EQ(got[1], difference(1, 1));
    EXPECT_EQ(got[400], difference(799, 1));
    EXPECT_EQ(got[401], (row{L"801", L"", L"124599 further runs of differing bytes not listed"}));
    // 244 KiB with 122 KiB differing: every differing byte counts in the verdict.
    EXPECT_EQ(got[402], end_row(L"Files have 50% in common"));
}
