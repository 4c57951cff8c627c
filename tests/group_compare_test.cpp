// The checksum and its pass by size, the pair scan against the plain double loop, and the comparisons from
// memory against compare_pair_files on random trees with copies, near copies, empty, locked and resized files.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <random>
#include <set>

#include "compare/pair_compare.h"
#include "app/startup.h"
#include "core/file_identity.h"
#include "core/globals.h"
#include "core/run_protocol.h"
#include "core/state.h"
#include "search/checksum.h"
#include "search/checksum_pass.h"
#include "search/directory_walk.h"
#include "search/group_compare.h"
#include "search/pair_scan.h"
#include "support/temp_folder.h"

using namespace orvkit;
using namespace test_support;

namespace {

// Builds the same random list twice: few sizes and checksums, so groups are large.
void fill(orvFileList& list, std::mt19937 random, int count, int sizes, int checksums) {
    for (int i = 0; i < count; ++i) {
        auto record = std::make_unique<file_record>();
        record->path = L"f" + std::to_wstring(i);
        record->size = (static_cast<uint64_t>(random() % sizes) << 32) + 1;  // differ above 32 bits
        record->checksum = random() % checksums;
        list.append_record(std::move(record));
    }
    list.publish_count();
}

// One visited pair: the outcome, and the percentage of a pair that would be listed.
struct visit {
    std::wstring a, b;
    int32_t outcome;
    uint32_t listed_percent;
    bool operator==(const visit&) const = default;
};

std::shared_ptr<orvFileList> copy_of(const orvFileList& list) {
    auto copy = make_file_list();
    for (const auto& record : list.records) copy->append_record(std::make_unique<file_record>(*record));
    return copy;
}

// The search worker's scan, pair by pair or from memory, by content classes when given: its visits and opens.
std::pair<std::vector<visit>, uint64_t> scan(orvFileList& list, const pair_settings& settings, std::size_t budget,
                                             std::size_t limit, bool in_memory, content_classes* classes = nullptr) {
    std::unique_ptr<group_compare> held;
    if (in_memory) held = std::make_unique<group_compare>(list, settings, budget, limit);
    std::vector<visit> visits;
    pair_scan_hooks hooks;
    hooks.begin_pass = [&](std::size_t a) { path_a = list.records[a]->path; };
    hooks.candidate = [&](std::size_t a, std::size_t b) {
        file_record &x = *list.records[a], &y = *list.records[b];
        pair_outcome result;
        const bool settled = classes && classes->compare(x, y, settings, result);
        if (held && !settled) held->prepare(x, y);
        if (same_file(x, y)) return;
        if (!settled && (!held || !held->compare(x, y, result))) result = compare_pair_files(x.path, y.path, settings);
        const bool listed = result.percent > 0 && result.percent >= settings.match_percentage;
        visits.push_back({x.path, y.path, result.outcome, listed ? result.percent : 0});
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

uint32_t checksum_of(const std::string& bytes) {
    checksum_accumulator sum;
    sum.add_block(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return sum.value();
}

class GroupCompare : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(initialise(GetModuleHandleW(nullptr), SW_HIDE), 0);
        ASSERT_EQ(reserve_compare_buffers(), 0);
        search_mode = 2;
    }
    void TearDown() override {
        release_compare_buffers();
        run_status = 0;
        DestroyWindow(app_state->main_window);
    }
};

}  // namespace

// The grouped scan is held to the plain double loop over every pair: same passes, pairs, order, pruning and stop.
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
            expected.push_back(L"pass " + plain.records[a]->path);
            for (std::size_t b = a + 1; b < plain.records.size() && seen < stop_after;) {
                file_record &ra = *plain.records[a], &rb = *plain.records[b];
                const bool candidate = ra.size == rb.size && ra.checksum == rb.checksum;
                if (candidate) {
                    expected.push_back(ra.path + L"-" + rb.path);
                    ++seen;
                    if (unreadable.count(rb.path)) ++rb.fail_count;
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
        hooks.begin_pass = [&](std::size_t a) { actual.push_back(L"pass " + grouped.records[a]->path); };
        hooks.candidate = [&](std::size_t a, std::size_t b) {
            actual.push_back(grouped.records[a]->path + L"-" + grouped.records[b]->path);
            ++seen;
            if (unreadable.count(grouped.records[b]->path)) ++grouped.records[b]->fail_count;
        };
        hooks.end_pass = [&](std::size_t) { actual.push_back(L"end"); };
        hooks.stop_requested = [&] { return seen >= stop_after; };
        const uint32_t pruned = scan_candidate_pairs(grouped, hooks);

        ASSERT_EQ(actual, expected) << "round " << round;
        ASSERT_EQ(grouped.records.size(), plain.records.size());
        EXPECT_EQ(pruned + grouped.records.size(), 60u + round * 5);
        for (std::size_t i = 0; i < plain.records.size(); ++i)
            ASSERT_EQ(grouped.records[i]->path, plain.records[i]->path);
        EXPECT_EQ(grouped.record_count.load(), static_cast<int64_t>(grouped.records.size()));
    }
}

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

        // After the walk: some files cannot be opened, some grew or shrank.
        std::vector<HANDLE> locks;
        for (const auto& record : walked->records) {
            const int fate = static_cast<int>(random() % 12);
            const std::string unix_path = "'" + to_unix_path(record->path) + "'";
            if (fate == 0) {
                locks.push_back(CreateFileW(record->path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
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

// The pair scan frees a pruned record: its class must not reach it when another member's file is removed later,
// also when the record lost its class before it was pruned (its file went under another name, a link's).
TEST(ContentClasses, AFileRemovedAfterAPruneNeverReachesThePrunedRecord) {
    for (const bool forgotten_first : {false, true}) {
        file_record first{.path = L"C:\\a"}, link{.path = L"C:\\l"}, pruned{.path = L"C:\\b"}, removed{.path = L"C:\\B"};
        link.identity = pruned.identity = {.file_index = 7, .index_known = true};
        content_classes classes;
        const uint32_t id = classes.add_class({&first, &link, &pruned, &removed});
        for (file_record* member : {&first, &link, &pruned, &removed}) member->content_class = id;
        if (forgotten_first) classes.forget_file(link);  // C:\l names no file: its target goes with it
        classes.drop_record(pruned);
        pruned.content_class = id;  // what a freed record's memory may hold
        classes.forget_file(removed);  // the same path as the pruned record's, which it would forget too
        EXPECT_EQ(pruned.content_class, id) << forgotten_first;
        EXPECT_EQ(removed.content_class, 0u);
        EXPECT_EQ(first.content_class, id);
    }
}

TEST(Checksum, WorkedValuesAndTheBytesLeftOut) {
    EXPECT_EQ(checksum_of("abc"), 0u) << "no complete word";
    EXPECT_EQ(checksum_of("abcdefgh"), 0x564E0000u);
    EXPECT_EQ(checksum_of("abcdefghXYZ"), checksum_of("abcdefgh")) << "1 to 3 trailing bytes are left out";
    EXPECT_NE(checksum_of("abcdefghWXYZ"), checksum_of("abcdefgh"));

    std::string data;
    for (int i = 0; i < 4096; ++i) data += static_cast<char>(i * 37 + 11);
    checksum_accumulator split;  // blocks of whole words sum like one block
    split.add_block(reinterpret_cast<const uint8_t*>(data.data()), 1024);
    split.add_block(reinterpret_cast<const uint8_t*>(data.data()) + 1024, 3072);
    EXPECT_EQ(split.value(), checksum_of(data));

    // 70,000 words of 0xFFFFFFFF: s1 wraps to -k, s2 to -(k(k+1)/2); 15 bits survive.
    const uint64_t k = 70000;
    EXPECT_EQ(checksum_of(std::string(4 * k, '\xff')), static_cast<uint32_t>(0u - k * (k + 1) / 2) << 17);
}

// The vector sums against the word-by-word loop: random contents, lengths, alignments and carried starting sums.
TEST(Checksum, VectorSumsEqualTheWordByWordLoop) {
    std::mt19937 random(20261207);
    std::vector<uint8_t> bytes(1 << 16);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    for (int round = 0; round < 3000; ++round) {
        const std::size_t offset = random() % 64;
        const std::size_t length = round < 300 ? static_cast<std::size_t>(round) : random() % (bytes.size() - offset);
        checksum_accumulator fast, plain;
        const std::size_t lead = (random() % 64) * 4;  // an earlier block leaves sums behind
        fast.add_block(bytes.data() + 64, std::min(lead, bytes.size() - 64));
        plain.add_block_plain(bytes.data() + 64, std::min(lead, bytes.size() - 64));
        fast.add_block(bytes.data() + offset, length);
        plain.add_block_plain(bytes.data() + offset, length);
        ASSERT_EQ(fast.first_sum(), plain.first_sum()) << offset << " " << length;
        ASSERT_EQ(fast.second_sum(), plain.second_sum()) << offset << " " << length;
    }
    // The largest sums wrap the same way: all bits set over a megabyte.
    std::vector<uint8_t> ones(1 << 20, 0xFF);
    checksum_accumulator fast, plain;
    fast.add_block(ones.data() + 3, ones.size() - 3);
    plain.add_block_plain(ones.data() + 3, ones.size() - 3);
    EXPECT_EQ(fast.second_sum(), plain.second_sum());
    EXPECT_EQ(fast.first_sum(), plain.first_sum());
}

// A size group too large to keep open is read piece by piece, each file reopened at its next piece's offset;
// a file read to its end is summed whole, as a saved list promises, over pieces up to the largest and past it.
TEST(Checksum, ThePassReadsSizeGroupsPieceByPieceAndSumsWholeFiles) {
    temp_folder folder;
    ASSERT_EQ(run_unix("cd " + quoted(to_unix_path(folder.path())) +
                       " && head -c 42000000 /dev/urandom | split -b 70000 -a 3 - f && cp faaa copy1 && cp fabc copy2"
                       " && head -c 3145740 /dev/urandom > big1 && cp big1 big2"),
              0);
    orvFileList list;
    walk_folder(list, folder.path(), false);
    ASSERT_EQ(list.records.size(), 604u);
    content_classes classes;
    const uint64_t opens = checksum_pass_opens();
    ASSERT_TRUE(checksum_shared_sizes(list, false, classes));
    EXPECT_EQ(checksum_pass_opens() - opens, 608u) << "the four copies of 70,000 bytes again for their second piece";
    std::map<std::wstring, const file_record*> by_name;
    std::set<uint32_t> distinct;
    for (const auto& record : list.records) {
        by_name[file_name(record->path)] = record.get();
        distinct.insert(record->content_class);
    }
    EXPECT_EQ(distinct.size(), 601u) << "every other file apart";
    for (const auto& [copy, original] : {std::pair{L"copy1", L"faaa"}, {L"copy2", L"fabc"}, {L"big2", L"big1"}}) {
        EXPECT_EQ(by_name[copy]->content_class, by_name[original]->content_class) << copy;
        EXPECT_EQ(by_name[copy]->checksum, checksum_of(read_file(folder / copy))) << copy;
    }
}
