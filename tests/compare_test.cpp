// The comparison as the search calls it: no rows, a percentage and an outcome.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "actions/compare.h"
#include "actions/compare_math.h"
#include "app/globals.h"
#include "app/state.h"
#include "support/pump.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::temp_folder;

namespace {

std::string with_run(std::string text, std::size_t first, std::size_t length) {
    for (std::size_t i = first; i < first + length; ++i) text[i] = static_cast<char>(text[i] ^ 0x5A);
    return text;
}

std::string patterned(std::size_t n, uint32_t seed = 1) {
    std::string out(n, '\0');
    std::mt19937 rng(seed);
    for (auto& c : out) c = static_cast<char>(rng());
    return out;
}

uint64_t differing_bytes(const std::string& a, const std::string& b) {
    uint64_t d = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) d += a[i] != b[i];
    return d;
}

class SearchComparison : public ::testing::Test {
protected:
    void SetUp() override {
        app_state = std::make_shared<ostrand_state>();
        go_event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
        search_mode = 2;
        app_state->stop_at_first_difference = 0;
        ASSERT_EQ(reserve_compare_buffers(), 0);
    }
    void TearDown() override {
        release_compare_buffers();
        CloseHandle(go_event);
    }

    uint32_t compare(const std::wstring& a, const std::wstring& b) {
        path_a = a;
        path_b = b;
        run_status = 201;
        progress_percent = 42;
        const uint32_t result = compare_files(nullptr);
        EXPECT_EQ(progress_percent.load(), 42) << "the search's progress is not touched";
        EXPECT_NE(compare_buffer_a, nullptr) << "the search owns the blocks";
        return result;
    }
    uint32_t outcome() const { return app_state->compare_result.load(); }

    temp_folder folder;
};

}  // namespace

TEST_F(SearchComparison, WorkedExamples) {
    app_state->settings.match_percentage = 50;  // every pair here reaches it: counted through
    const std::string k1 = patterned(1000);
    const auto a = folder.make_file(L"a1000", k1);
    EXPECT_EQ(compare(a, folder.make_file(L"same", k1)), 100u);
    EXPECT_EQ(outcome(), 2u);
    EXPECT_EQ(run_status.load(), 2);
    EXPECT_EQ(compare(a, folder.make_file(L"one", with_run(k1, 500, 1))), 99u);
    EXPECT_EQ(compare(a, folder.make_file(L"fifteen", with_run(k1, 500, 15))), 98u);
    EXPECT_EQ(compare(a, folder.make_file(L"last", with_run(k1, 970, 30))), 97u) << "an open run at the end counts";

    const std::string m = patterned(1048576, 2);
    EXPECT_EQ(compare(folder.make_file(L"m1", m), folder.make_file(L"m2", with_run(m, 0, 524288))), 50u);
    const std::string f = patterned(50001, 3);
    EXPECT_EQ(compare(folder.make_file(L"f1", f), folder.make_file(L"f2", with_run(f, 50000, 1))), 99u);
}

TEST_F(SearchComparison, StopAtFirstDifferenceCountsOneByte) {
    app_state->stop_at_first_difference = 1;
    const std::string h = patterned(100);
    EXPECT_EQ(compare(folder.make_file(L"h1", h), folder.make_file(L"h2", with_run(h, 10, 50))), 99u);
    const std::string t = patterned(10);
    EXPECT_EQ(compare(folder.make_file(L"t1", t), folder.make_file(L"t2", with_run(t, 2, 8))), 90u);
    EXPECT_EQ(compare(folder.make_file(L"t3", t), folder.make_file(L"t4", t)), 100u);
}

TEST_F(SearchComparison, EmptyFilesFollowCheckZeroLength) {
    const auto a = folder.make_file(L"e1", "");
    const auto b = folder.make_file(L"e2", "");
    app_state->settings.check_zero_length = 1;
    EXPECT_EQ(compare(a, b), 100u);
    EXPECT_EQ(outcome(), 7u);
    EXPECT_EQ(run_status.load(), 2);
    app_state->settings.check_zero_length = 0;
    EXPECT_EQ(compare(a, b), 0u);
    EXPECT_EQ(outcome(), 2u);
}

TEST_F(SearchComparison, MissingFilesAreReportedAndNeverTwins) {
    const auto present = folder.make_file(L"x", "content");
    EXPECT_EQ(compare(folder / L"missing", present), 0u);
    EXPECT_EQ(outcome(), 6u);
    EXPECT_EQ(compare(folder / L"missing", folder / L"missing too"), 0u);
    EXPECT_EQ(outcome(), 6u) << "A is checked first";
    EXPECT_EQ(compare(present, folder / L"missing"), 0u);
    EXPECT_EQ(outcome(), 8u);
    EXPECT_EQ(compare(folder.path(), present), 0u) << "a folder is no file";
    EXPECT_EQ(outcome(), 6u);
}

TEST_F(SearchComparison, FilesWhoseSizesNoLongerMatchScoreZero) {
    // A stale index pairs files that were once of equal size; one is now a prefix of the other.
    const std::string text = patterned(4000);
    const auto whole = folder.make_file(L"whole", text);
    const auto prefix = folder.make_file(L"prefix", text.substr(0, 3000));
    EXPECT_EQ(compare(prefix, whole), 0u);
    EXPECT_EQ(outcome(), 2u);
    EXPECT_EQ(compare(whole, prefix), 0u);
    app_state->stop_at_first_difference = 1;
    EXPECT_EQ(compare(prefix, whole), 0u);
}

TEST_F(SearchComparison, EarlyStopKeepsTwinDecisionsAndTwinPercentages) {
    std::mt19937 rng(5);
    const std::size_t size = 300000;
    const std::string a = patterned(size, 9);
    const auto path = folder.make_file(L"a", a);
    std::vector<std::string> others;
    for (std::size_t differing : {0u, 1u, 1023u, 1024u, 3000u, 3072u, 9000u, 15000u, 16000u, 80000u, 150000u})
        others.push_back(with_run(a, rng() % (size - differing), differing));
    std::string scattered = a;  // differences spread over the whole file
    for (std::size_t i = 0; i < size; i += 40) scattered[i] ^= 1;
    others.push_back(scattered);

    for (std::size_t k = 0; k < others.size(); ++k) {
        const auto other = folder.make_file(L"b" + std::to_wstring(k), others[k]);
        const uint32_t full = similarity_percent(size, differing_bytes(a, others[k]));
        for (uint32_t match : {50u, 75u, 90u, 95u, 96u, 97u, 98u, 99u, 100u}) {
            app_state->settings.match_percentage = match;
            const uint32_t got = compare(path, other);
            EXPECT_EQ(got >= match, full >= match) << "pair " << k << " match " << match;
            if (full >= match) {
                EXPECT_EQ(got, full) << "pair " << k << " match " << match;
            }
            EXPECT_EQ(outcome(), 2u);
        }
    }
}

TEST_F(SearchComparison, EarlyStopEndsBeforeTheWholeFileIsCounted) {
    // Entirely different files score 0 when counted through; at 100 % the scan may end
    // after its first 64 KiB, whose count already rules the pair out.
    const std::size_t size = 1048576;
    const auto a = folder.make_file(L"a", std::string(size, 'a'));
    const auto b = folder.make_file(L"b", std::string(size, 'b'));
    app_state->settings.match_percentage = 100;
    const uint32_t got = compare(a, b);
    EXPECT_LT(got, 100u);
    EXPECT_GT(got, 0u) << "stopped early";
    app_state->settings.match_percentage = 0;  // everything is shown: count every byte
    EXPECT_EQ(compare(a, b), 0u);
}

TEST_F(SearchComparison, AbortWhilePausedScoresZero) {
    const std::string text = patterned(3000000);
    path_a = folder.make_file(L"a", text);
    path_b = folder.make_file(L"b", text);
    pause_code = 5;
    ResetEvent(go_event);
    HANDLE thread = CreateThread(nullptr, 0, compare_files, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 300), static_cast<DWORD>(WAIT_TIMEOUT)) << "the pause holds";
    run_status = 2;
    pause_code = 10;
    SetEvent(go_event);
    ASSERT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
    DWORD result = 99;
    GetExitCodeThread(thread, &result);
    CloseHandle(thread);
    EXPECT_EQ(result, 0u) << "identical, but an aborted comparison is never a twin";
}
