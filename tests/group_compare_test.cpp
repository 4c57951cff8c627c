// The pair scan's comparisons from memory held to compare_pair_files, pair by pair, on random trees with copies,
// near copies, empty, locked and resized files.
#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "compare/pair_compare.h"
#include "app/startup.h"
#include "core/file_identity.h"
#include "core/globals.h"
#include "core/state.h"
#include "search/checksum_pass.h"
#include "search/directory_walk.h"
#include "search/group_compare.h"
#include "search/pair_scan.h"
#include "support/temp_folder.h"

using namespace test_support;

namespace {

struct visit {
    std::wstring a, b;
    int32_t outcome;
    uint32_t listed_percent;  // of a pair that would be listed
    bool operator==(const visit&) const = default;
};

std::shared_ptr<orvFileList> copy_of(const orvFileList& list) {
    auto copy = make_file_list();
    for (const auto& record : list.records) copy->add_record(record->path(), *record);
    return copy;
}

// The search worker's scan, pair by pair or from memory, by content classes when given: its visits and opens.
std::pair<std::vector<visit>, uint64_t> scan(orvFileList& list, const pair_settings& settings, std::size_t budget,
                                             std::size_t limit, bool in_memory, content_classes* classes = nullptr) {
    std::unique_ptr<group_compare> held;
    if (in_memory) held = std::make_unique<group_compare>(list, settings, budget, limit);
    std::vector<visit> visits;
    pair_scan_hooks hooks;
    hooks.begin_pass = [&](std::size_t a) { path_a = list.records[a]->path(); };
    hooks.candidate = [&](std::size_t a, std::size_t b) {
        file_record &x = *list.records[a], &y = *list.records[b];
        pair_outcome result;
        const bool settled = classes && classes->compare(x, y, settings, result);
        if (held && !settled) held->prepare(x, y);
        if (same_file(x, y)) return;
        if (!settled && (!held || !held->compare(x, y, result))) result = compare_pair_files(x.path(), y.path(), settings);
        const bool listed = result.percent > 0 && result.percent >= settings.match_percentage;
        visits.push_back({x.path(), y.path(), result.outcome, listed ? result.percent : 0});
        if (result.outcome == compare_invalid_b) ++y.fail_count;
    };
    hooks.end_pass = [&](std::size_t a) { if (held) held->done_with(*list.records[a]); };
    hooks.stop_requested = [] { return false; };
    hooks.prune = [&](const file_record& pruned) {
        if (held) held->done_with(pruned);
        if (classes) classes->drop_record(pruned);
    };
    scan_candidate_pairs(list, hooks, classes && settings.match_percentage >= 100);
    EXPECT_TRUE(!held || held->held_bytes() == 0) << "every group let go once its passes ended";
    return {visits, held ? held->opens() : 0};
}

std::vector<visit> listed(std::vector<visit> visits) {
    std::erase_if(visits, [](const visit& v) { return v.listed_percent == 0; });
    return visits;
}

std::string bytes(std::mt19937& random, std::size_t size) {
    std::string out(size, '\0');
    for (auto& c : out) c = static_cast<char>(random() % 4);  // few values: runs of equal and differing bytes
    return out;
}

struct GroupCompare : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(initialise(GetModuleHandleW(nullptr), SW_HIDE), 0);
        ASSERT_EQ(reserve_compare_buffers(), 0);
        search_mode = 2;
    }
};

}  // namespace

TEST_F(GroupCompare, EveryPairEqualsThePairByPairComparison) {
    std::mt19937 random(9);
    const std::size_t sizes[] = {0, 1, 7, 100, 4096, 70001, 200000};
    for (int round = 0; round < 8; ++round) {
        temp_folder tree;
        int made = 0;
        for (int group = 0; group < 6; ++group) {
            const std::size_t size = sizes[random() % std::size(sizes)];
            const std::string base = bytes(random, size);
            const int members = 2 + static_cast<int>(random() % 5);
            for (int m = 0; m < members; ++m) {
                std::string content = base;
                const int kind = static_cast<int>(random() % 4);  // copy, a few changes, many changes, other
                const std::size_t changes = kind == 1 ? 1 + random() % 8 : kind == 2 ? size / 3 : 0;
                for (std::size_t c = 0; size && c < changes; ++c) content[random() % size] ^= 0x5A;
                if (kind == 3) content = bytes(random, size);
                tree.make_file(L"d" + std::to_wstring(random() % 3) + L"\\f" + std::to_wstring(made++), content);
            }
        }
        auto walked = make_file_list();
        walked->mode = 2;
        walk_folder(*walked, tree.path(), false);
        const bool hashed = round % 2;  // Quick Dir with Hash; else by sizes alone
        ASSERT_EQ(static_cast<int>(walked->records.size()), made);

        std::vector<HANDLE> locks;
        for (const auto& record : walked->records) {  // some files cannot be opened, some grew or shrank
            const int fate = static_cast<int>(random() % 12);
            const std::string unix_path = "'" + to_unix_path(record->path()) + "'";
            if (fate == 0) {
                locks.push_back(CreateFileW(record->path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            } else if (fate == 1 && record->size > 0) {
                ASSERT_EQ(run_unix("truncate -s " + std::to_string(record->size - 1) + " " + unix_path), 0);
            } else if (fate == 2) {
                ASSERT_EQ(run_unix("printf x >> " + unix_path), 0);
            }
        }

        for (const pair_settings settings : {pair_settings{true, 100, true}, pair_settings{false, 100, false},
                                             pair_settings{false, 90, true}, pair_settings{false, 40, true}}) {
            SCOPED_TRACE("round " + std::to_string(round) + " match " + std::to_string(settings.match_percentage));
            auto one_by_one = copy_of(*walked), grouped = copy_of(*walked);
            content_classes classes;
            if (hashed) {  // the checksums of every file of a shared size choose the pairs
                ASSERT_TRUE(checksum_shared_sizes(*one_by_one, true, classes));
                for (const auto& record : one_by_one->records) record->content_class = 0;
            }
            auto from_memory = copy_of(*one_by_one), part_held = copy_of(*one_by_one);
            const auto expected = scan(*one_by_one, settings, 0, 0, false).first;
            const auto [got, opens] = scan(*from_memory, settings, group_compare::memory_budget_bytes,
                                           group_compare::file_limit_bytes, true);
            // A budget too small for the larger files: some pairs stream, the rest from memory.
            const auto mixed = scan(*part_held, settings, 150000, 80000, true).first;
            if (hashed) {  // the files read together, piece by piece, as the search reads them
                const uint64_t opens_before = checksum_pass_opens();
                ASSERT_TRUE(checksum_shared_sizes(*grouped, settings.match_percentage < 100, classes));
                const auto together = scan(*grouped, settings, group_compare::memory_budget_bytes,
                                           group_compare::file_limit_bytes, true, &classes).first;
                EXPECT_EQ(listed(together), listed(expected));
                EXPECT_LE(checksum_pass_opens() - opens_before, walked->records.size()) << "each file once at most";
            }
            ASSERT_FALSE(expected.empty());
            EXPECT_EQ(got, expected);
            EXPECT_EQ(mixed, expected);
            EXPECT_LE(opens, walked->records.size()) << "each file opened once at most";
        }
        for (HANDLE lock : locks) CloseHandle(lock);
    }
}
