#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "search/pair_scan.h"
#include "search/search_summary.h"

using namespace orvkit;

namespace {

// What a scan did, in order: passes, candidate pairs (by path) and prunes.
struct scan_trace {
    std::vector<std::wstring> events;
    uint32_t pruned = 0;
    bool operator==(const scan_trace& other) const { return events == other.events && pruned == other.pruned; }
};

// The reference: every pair a < b of the list, candidates by size and checksum.
scan_trace plain_scan(orvFileList& list, const std::set<std::wstring>& unreadable, std::size_t stop_after) {
    scan_trace trace;
    std::size_t candidates = 0;
    bool stop = false;
    for (std::size_t a = 0; a + 1 < list.records.size() && !stop; ++a) {
        trace.events.push_back(L"pass " + list.records[a]->path);
        for (std::size_t b = a + 1; b < list.records.size();) {
            file_record& ra = *list.records[a];
            file_record& rb = *list.records[b];
            if (ra.size == rb.size && ra.checksum == rb.checksum) {
                trace.events.push_back(ra.path + L"-" + rb.path);
                if (unreadable.count(rb.path)) ++rb.fail_count;
                if (++candidates == stop_after) stop = true;
                if (rb.fail_count > 0) {
                    list.remove_record(b);
                    ++trace.pruned;
                    if (stop) break;
                    continue;
                }
            }
            ++b;
            if (stop) break;
        }
        trace.events.push_back(L"end " + list.records[a]->path);
    }
    return trace;
}

scan_trace grouped_scan(orvFileList& list, const std::set<std::wstring>& unreadable, std::size_t stop_after) {
    scan_trace trace;
    std::size_t candidates = 0;
    pair_scan_hooks hooks;
    hooks.begin_pass = [&](std::size_t a) { trace.events.push_back(L"pass " + list.records[a]->path); };
    hooks.candidate = [&](std::size_t a, std::size_t b) {
        trace.events.push_back(list.records[a]->path + L"-" + list.records[b]->path);
        if (unreadable.count(list.records[b]->path)) ++list.records[b]->fail_count;
        ++candidates;
    };
    hooks.end_pass = [&](std::size_t a) { trace.events.push_back(L"end " + list.records[a]->path); };
    hooks.stop_requested = [&] { return candidates >= stop_after; };
    trace.pruned = scan_candidate_pairs(list, hooks);
    return trace;
}

void fill_random(orvFileList& list, std::mt19937& random, int count, int sizes, int checksums) {
    for (int i = 0; i < count; ++i) {
        auto record = std::make_unique<file_record>();
        record->path = L"f" + std::to_wstring(i);
        record->size = random() % sizes;
        record->checksum = random() % checksums;
        list.append_record(std::move(record));
    }
    list.publish_count();
}

}  // namespace

TEST(PairScan, GroupedScanVisitsExactlyThePairsOfThePlainScan) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 40; ++round) {
        orvFileList plain_list(16), grouped_list(16);
        std::mt19937 same_seed = random;
        fill_random(plain_list, random, 60 + round * 5, 3 + round % 7, 1 + round % 3);
        fill_random(grouped_list, same_seed, 60 + round * 5, 3 + round % 7, 1 + round % 3);
        std::set<std::wstring> unreadable;
        for (int i = round % 5; i < 60; i += 7) unreadable.insert(L"f" + std::to_wstring(i));
        const std::size_t stop_after = round % 4 == 0 ? 25 + round : SIZE_MAX;

        const scan_trace expected = plain_scan(plain_list, unreadable, stop_after);
        const scan_trace actual = grouped_scan(grouped_list, unreadable, stop_after);
        ASSERT_EQ(actual.events, expected.events) << "round " << round;
        ASSERT_EQ(actual.pruned, expected.pruned);
        ASSERT_EQ(grouped_list.records.size(), plain_list.records.size());
        for (std::size_t i = 0; i < plain_list.records.size(); ++i)
            ASSERT_EQ(grouped_list.records[i]->path, plain_list.records[i]->path);
        EXPECT_EQ(grouped_list.record_count.load(), static_cast<int64_t>(grouped_list.records.size()));
    }
}

TEST(PairScan, UniqueSizesGiveOnePassPerRecordAndNoPairs) {
    orvFileList list(16);
    for (int i = 0; i < 1000; ++i) {
        auto record = std::make_unique<file_record>();
        record->size = static_cast<uint64_t>(i) << 33;  // differ only above 32 bits
        list.append_record(std::move(record));
    }
    int passes = 0, pairs = 0;
    pair_scan_hooks hooks{[&](std::size_t) { ++passes; }, [&](std::size_t, std::size_t) { ++pairs; },
                          [](std::size_t) {}, [] { return false; }};
    EXPECT_EQ(scan_candidate_pairs(list, hooks), 0u);
    EXPECT_EQ(passes, 999) << "a pass for every record but the last";
    EXPECT_EQ(pairs, 0);
}

TEST(SearchSummary, WorkedText) {
    search_totals totals{3, 120, 5000, 0, 4, 0};
    EXPECT_EQ(search_summary(totals),
              L"3 twins found in 120 files. Total original size 5000 bytes. Total deleted 0 bytes. "
              L"Total folders 4 with 0 empty folders deleted.");
}
