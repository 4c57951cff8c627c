// The content checksum, and the pass that reads the files of each shared size together into content classes.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "search/checksum.h"
#include "search/checksum_pass.h"
#include "search/directory_walk.h"
#include "support/temp_folder.h"

using namespace test_support;

static uint32_t checksum_of(const std::string& bytes) {
    checksum_accumulator sum;
    sum.add_block(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return sum.value();
}

TEST(Checksum, WorkedValues) {
    EXPECT_EQ(checksum_of("abc"), 0u) << "no complete word";
    EXPECT_EQ(checksum_of("abcdefgh"), 0x564E0000u);
    EXPECT_NE(checksum_of("abcdefghWXYZ"), checksum_of("abcdefgh"));
    // 70,000 words of 0xFFFFFFFF: s1 wraps to -k, s2 to -(k(k+1)/2); 15 bits survive.
    const uint64_t k = 70000;
    EXPECT_EQ(checksum_of(std::string(4 * k, '\xff')), static_cast<uint32_t>(0u - k * (k + 1) / 2) << 17);
}

TEST(Checksum, VectorSumsEqualTheWordByWordLoop) {
    std::mt19937 random(20261207);
    std::vector<uint8_t> bytes(1 << 16);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    for (int round = 0; round < 3000; ++round) {
        const std::size_t offset = random() % 64;
        const std::size_t length = round < 300 ? static_cast<std::size_t>(round) : random() % (bytes.size() - offset);
        checksum_accumulator fast, plain;
        const std::size_t lead = (random() % 64) * 4;  // an earlier block leaves sums behind, at random alignments
        fast.add_block(bytes.data() + 64, std::min(lead, bytes.size() - 64));
        plain.add_block_plain(bytes.data() + 64, std::min(lead, bytes.size() - 64));
        fast.add_block(bytes.data() + offset, length);
        plain.add_block_plain(bytes.data() + offset, length);
        ASSERT_EQ(std::pair(fast.first_sum(), fast.second_sum()), std::pair(plain.first_sum(), plain.second_sum()))
            << offset << " " << length;
    }
    std::vector<uint8_t> ones(1 << 20, 0xFF);
    checksum_accumulator fast, plain;
    fast.add_block(ones.data() + 3, ones.size() - 3);
    plain.add_block_plain(ones.data() + 3, ones.size() - 3);
    EXPECT_EQ(std::pair(fast.first_sum(), fast.second_sum()), std::pair(plain.first_sum(), plain.second_sum()));
}

// Each file reopened at its next piece's offset; a file read to its end is summed whole, as a saved list promises.
TEST(ChecksumPass, ASizeGroupTooLargeToKeepOpenIsReadPieceByPiece) {
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
        by_name[file_name(record->path())] = record;
        distinct.insert(record->content_class);
    }
    EXPECT_EQ(distinct.size(), 601u) << "every other file apart";
    for (const auto& [copy, original] : {std::pair{L"copy1", L"faaa"}, {L"copy2", L"fabc"}, {L"big2", L"big1"}}) {
        EXPECT_EQ(by_name[copy]->content_class, by_name[original]->content_class) << copy;
        EXPECT_EQ(by_name[copy]->checksum, checksum_of(read_file(folder / copy))) << copy;
    }
}

// The pair scan frees a pruned record; it may have lost its class before (its file went under a link's name).
TEST(ContentClasses, AFileRemovedAfterAPruneNeverReachesThePrunedRecord) {
    for (const bool forgotten_first : {false, true}) {
        orvFileList list(0);
        file_record &first = list.add_record(L"C:\\a"), &link = list.add_record(L"C:\\l"),
                    &pruned = list.add_record(L"C:\\b"), &removed = list.add_record(L"C:\\B");
        link.identity = pruned.identity = {.file_index = 7, .index_known = true};
        content_classes classes;
        file_record* const members[] = {&first, &link, &pruned, &removed};
        const uint32_t id = classes.add_class(members);
        for (file_record* member : members) member->content_class = id;
        if (forgotten_first) classes.forget_file(link);  // C:\l names no file: its target goes with it
        classes.drop_record(pruned);
        pruned.content_class = id;  // what a freed record's memory may hold
        classes.forget_file(removed);  // the same path as the pruned record's, which it would forget too
        EXPECT_EQ(std::tuple(pruned.content_class, removed.content_class, first.content_class), std::tuple(id, 0u, id))
            << "pruned, removed, first; " << forgotten_first;
    }
}
