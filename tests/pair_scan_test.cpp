// The grouped pair scan held to the plain double loop over every pair.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "search/pair_scan.h"

using namespace orvkit;

// Builds the same random list twice: few sizes and checksums, so groups are large.
static void fill(orvFileList& list, std::mt19937 random, int count, int sizes, int checksums) {
    for (int i = 0; i < count; ++i) {
        const uint64_t size = (static_cast<uint64_t>(random() % sizes) << 32) + 1;  // differ above 32 bits
        list.add_record(L"f" + std::to_wstring(i), {.checksum = static_cast<uint32_t>(random() % checksums), .size = size});
    }
    list.publish_count();
}

TEST(PairScan, VisitsExactlyThePairsOfThePlainDoubleLoop) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 40; ++round) {
        orvFileList plain(16), grouped(16);
        fill(plain, random, 60 + round * 5, 3 + round % 7, 1 + round % 3);
        fill(grouped, random, 60 + round * 5, 3 + round % 7, 1 + round % 3);
        random.discard(7);
        std::set<std::wstring> unreadable;  // their fail_count rises when visited as b
        for (int i = round % 5; i < 60; i += 7) unreadable.insert(L"f" + std::to_wstring(i));
        const std::size_t stop_after = round % 4 == 0 ? 25 + round : SIZE_MAX;
        std::vector<std::wstring> expected;
        std::size_t seen = 0;
        for (std::size_t a = 0; a + 1 < plain.records.size() && seen < stop_after; ++a) {
            expected.push_back(L"pass " + plain.records[a]->path());
            for (std::size_t b = a + 1; b < plain.records.size() && seen < stop_after;) {
                file_record &ra = *plain.records[a], &rb = *plain.records[b];
                const bool candidate = ra.size == rb.size && ra.checksum == rb.checksum;
                if (candidate) {
                    expected.push_back(ra.path() + L"-" + rb.path());
                    ++seen;
                    if (unreadable.count(rb.path())) ++rb.fail_count;
                }
                if (candidate && rb.fail_count > 0)
                    plain.remove_record(b);
                else
                    ++b;
            }
            expected.push_back(L"end");
        }
        std::vector<std::wstring> actual;
        seen = 0;
        pair_scan_hooks hooks;
        hooks.begin_pass = [&](std::size_t a) { actual.push_back(L"pass " + grouped.records[a]->path()); };
        hooks.candidate = [&](std::size_t a, std::size_t b) {
            actual.push_back(grouped.records[a]->path() + L"-" + grouped.records[b]->path());
            ++seen;
            if (unreadable.count(grouped.records[b]->path())) ++grouped.records[b]->fail_count;
        };
        hooks.end_pass = [&](std::size_t) { actual.push_back(L"end"); };
        hooks.stop_requested = [&] { return seen >= stop_after; };
        const uint32_t pruned = scan_candidate_pairs(grouped, hooks);
        ASSERT_EQ(actual, expected) << "round " << round;
        ASSERT_EQ(grouped.records.size(), plain.records.size());
        EXPECT_EQ(pruned + grouped.records.size(), 60u + round * 5);
        for (std::size_t i = 0; i < plain.records.size(); ++i)
            ASSERT_EQ(grouped.records[i]->path(), plain.records[i]->path());
        EXPECT_EQ(grouped.record_count.load(), static_cast<int64_t>(grouped.records.size()));
    }
}
