// Two files compared byte by byte: runs found a wide word at a time, File mode's rows held to a byte-by-byte
// definition, and the percentages a search asks of a pair.
#include <random>
#include <tuple>

#include "compare/pair_compare.h"
#include "compare/compare_math.h"
#include "actions/compare_rows.h"
#include "support/window_driver.h"

using namespace test_support;

namespace {

using runs = std::vector<std::pair<uint64_t, uint64_t>>;  // first offset, length
using rows = std::vector<list_row>;                        // Position, Length, Details
const std::size_t block = compare_span_bytes;

std::string patterned(std::size_t n, uint32_t seed = 1) {
    std::string out(n, '\0');
    std::mt19937 rng(seed);
    for (auto& c : out) c = static_cast<char>(rng());
    return out;
}

std::string with_runs(std::string text, const runs& changed) {
    for (auto [first, length] : changed)
        for (std::size_t i = first; i < std::min<std::size_t>(text.size(), first + length); ++i) text[i] ^= 0x5A;
    return text;
}

const list_row start_row{L"Start", L"", L"Equal"};
list_row end_row(const std::wstring& verdict) { return {L"End", L"", verdict}; }
list_row difference(uint64_t first, uint64_t length) {
    return {std::to_wstring(first), std::to_wstring(length), L"Different"};
}

// The rows a byte at a time: a run still open at a block's end counts without a row.
rows reference_rows(const std::string& a, const std::string& b) {
    rows out{start_row};
    uint64_t differing = 0, open = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (i % block == 0) differing += std::exchange(open, 0);
        if (a[i] != b[i]) {
            ++open;
        } else if (open > 0) {
            out.push_back(difference(i - open, open));
            differing += std::exchange(open, 0);
        }
    }
    out.push_back(end_row(verdict_text(a.size(), b.size(), differing + open)));
    return out;
}

struct Comparison : main_window_test {
    rows compare_paths(const std::wstring& a, const std::wstring& b) {
        begin_search(mode_file, a, b);
        EXPECT_TRUE(pump_until(run_ended, 60000));
        EXPECT_EQ(compare_buffer_a, nullptr) << "File mode frees its blocks";
        return read_list_rows();
    }
    rows compare(const std::string& a, const std::string& b) {
        return compare_paths(tree.make_file(L"a", a), tree.make_file(L"b", b));
    }
    uint32_t search_compare(const std::wstring& a, const std::wstring& b) {
        const pair_outcome got = compare_pair_files(a, b, settings);
        EXPECT_EQ(got.outcome, compare_finished);
        return got.percent;
    }
    pair_settings settings;
};

}  // namespace

TEST_F(Comparison, FileModeRowsFollowTheByteByByteDefinition) {
    const std::string k = patterned(1000), m = patterned(1048576, 2), big = patterned(block + 300000, 5);
    std::vector<std::tuple<std::string, std::string, const wchar_t*>> cases = {  // a, b, the verdict if given
        {k, k, L"Same"},
        {k, with_runs(k, {{500, 1}}), L"Files have 99% in common"},
        {k, with_runs(k, {{500, 15}}), L"Files have 98% in common"},
        {m, with_runs(m, {{0, 524288}}), L"Files have 50% in common"},
        {k, with_runs(k, {{990, 10}}) + "tail",  // open at the end of the shorter file: counted, not listed
         L"First 1000 bytes have 99% in common; File A is 1000 bytes, File B is 1004 bytes"},
        {k, k.substr(0, 600), L"First 600 bytes the same; File A is 1000 bytes, File B is 600 bytes"},
        // Runs over a poll chunk, a piece and the block boundary, ending at it, starting at it.
        {big, with_runs(big, {{65530, 10}, {262140, 10}, {block - 5, 10}, {block + 299990, 10}}), nullptr},
        {big, with_runs(big, {{block - 7, 7}, {block + 9, 2}}), nullptr},
        {big, with_runs(big, {{block, 3}}), nullptr}};
    std::mt19937 rng(11);
    for (uint32_t round = 0; round < 24; ++round) {  // across pieces too, and mostly differing
        const std::string a = patterned(1 + rng() % (round % 3 ? 5000 : 700000), round);
        runs changed(rng() % 60);
        for (auto& run : changed) run = {rng() % a.size(), 1 + rng() % 300};
        cases.push_back({a, round % 6 == 1 ? patterned(a.size(), round + 99) : with_runs(a, changed), nullptr});
    }
    for (const auto& [a, b, verdict] : cases) {
        const rows got = compare(a, b);
        ASSERT_EQ(got, reference_rows(a, b)) << a.size();
        EXPECT_TRUE(!verdict || got.back()[2] == verdict) << got.back()[2].c_str();
    }
}

TEST_F(Comparison, FileModeVerdictsOfEmptyAndMissingFiles) {
    EXPECT_EQ(compare("", ""), (rows{end_row(L"Zero size")})) << "no Start row";
    app_state->settings.check_zero_length = 0;
    EXPECT_EQ(compare("", ""), (rows{start_row, end_row(L"Same")}));
    const auto present = tree.make_file(L"present", "content");
    EXPECT_EQ(compare_paths(tree / L"missing", present), (rows{end_row(L"Invalid File A")}));
    EXPECT_EQ(compare_paths(present, tree / L"missing"), (rows{end_row(L"Invalid File B")}));
}

TEST_F(Comparison, FileModeListsRunsOnlyUpToTheRowLimit) {
    difference_row_limit = 400;  // lowered: a list insert costs milliseconds under Wine
    std::string b(250000, 'x');  // every odd byte differs: 125,000 runs, the last never closed
    for (std::size_t i = 1; i < b.size(); i += 2) b[i] = 'y';
    const rows got = compare(std::string(b.size(), 'x'), b);
    ASSERT_EQ(got.size(), 1u + 400u + 2u);
    EXPECT_EQ(got[1], difference(1, 1));
    EXPECT_EQ(got[400], difference(799, 1));
    EXPECT_EQ(got[401], (list_row{L"801", L"", L"124599 further runs of differing bytes not listed"}));
    EXPECT_EQ(got[402], end_row(L"Files have 50% in common"));
}

TEST_F(Comparison, AFileShrunkDuringAPauseCountsItsLostBytesAsDiffering) {
    const std::string a = patterned(25000000, 6);
    const auto path_1 = tree.make_file(L"a", a), path_2 = tree.make_file(L"b", a);
    make_worker_thread = paused_worker;
    begin_search(mode_file, path_1, path_2);
    ASSERT_TRUE(pump_until([&] { return list_row_count() == 1; })) << "the Start row comes before the pause";
    ASSERT_EQ(run_unix("truncate -s 100 " + quoted(to_unix_path(path_2))), 0);
    toggle_pause();
    ASSERT_TRUE(pump_until([] { return run_status == status_idle && list_row_count() == 2; }, 60000));
    const std::wstring verdict = list_cell(1, 2);
    ASSERT_EQ(verdict.rfind(L"Files have ", 0), 0u) << verdict.c_str();
    EXPECT_LT(std::stoi(verdict.substr(11)), 5) << verdict.c_str();
}

// A stale index pairs files once of equal size; stopping at the first difference counts one byte, only at 100 %;
// the scan stops once a pair falls below the match percentage, with the same decisions and percentages.
TEST_F(Comparison, SearchPercentages) {
    const std::string text = patterned(4000);
    const auto whole = tree.make_file(L"whole", text), prefix = tree.make_file(L"prefix", text.substr(0, 3000));
    EXPECT_EQ(search_compare(prefix, whole), 0u);
    EXPECT_EQ(search_compare(whole, prefix), 0u);
    settings.stop_at_first = true;
    const auto half = tree.make_file(L"half", text.substr(0, 2000) + patterned(2000, 7));
    EXPECT_EQ(search_compare(whole, half), 99u);
    EXPECT_EQ(search_compare(tree.make_file(L"ten", "0123456789"), tree.make_file(L"ten2", "0x2x456789")), 90u);
    settings.match_percentage = 90;  // below 100 a first difference is no verdict
    EXPECT_LT(search_compare(whole, half), 90u);
    settings = {};
    std::mt19937 rng(5);
    const std::size_t size = 300000;
    const std::string a = patterned(size, 9);
    std::string scattered = a;  // differences spread over the whole file, then single runs
    for (std::size_t i = 0; i < size; i += 40) scattered[i] ^= 1;
    const auto path = tree.make_file(L"a", a);
    const std::size_t counts[] = {size / 40, 0, 1, 1023, 1024, 3000, 3072, 9000, 15000, 16000, 80000, 150000};
    for (const std::size_t differing : counts) {
        const std::string b = differing == size / 40 ? scattered : with_runs(a, {{rng() % (size - differing), differing}});
        const auto other = tree.make_file(L"b", b);
        const uint32_t full = similarity_percent(size, differing);
        for (uint32_t match : {50u, 75u, 90u, 95u, 96u, 97u, 98u, 99u, 100u}) {
            settings.match_percentage = match;
            const uint32_t got = search_compare(path, other);
            EXPECT_EQ(got >= match, full >= match) << "differing " << differing << " match " << match;
            EXPECT_TRUE(full < match || got == full) << "differing " << differing << " match " << match << ": " << got;
        }
    }
}
