#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/checksum.h"

using orvkit::checksum_accumulator;

namespace {

uint32_t checksum_of(const std::string& bytes) {
    checksum_accumulator sum;
    sum.add_block(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return sum.value();
}

}  // namespace

TEST(Checksum, WorkedValues) {
    EXPECT_EQ(checksum_of(""), 0u);
    EXPECT_EQ(checksum_of("abc"), 0u) << "no complete word";
    EXPECT_EQ(checksum_of("abcdefgh"), 0x564E0000u);
}

TEST(Checksum, TrailingBytesOfTheLastBlockAreLeftOut) {
    EXPECT_EQ(checksum_of("abcdefghX"), checksum_of("abcdefgh"));
    EXPECT_EQ(checksum_of("abcdefghXYZ"), checksum_of("abcdefgh"));
    EXPECT_NE(checksum_of("abcdefghWXYZ"), checksum_of("abcdefgh")) << "a fourth byte completes a word";
    EXPECT_EQ(checksum_of("abcde"), checksum_of("abcd"));
}

TEST(Checksum, BlocksOfWholeWordsSumLikeOneBlock) {
    std::string data;
    for (int i = 0; i < 4096; ++i) data += static_cast<char>(i * 37 + 11);
    checksum_accumulator split;
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    split.add_block(bytes, 1024);
    split.add_block(bytes + 1024, 2048);
    split.add_block(bytes + 3072, 1024);
    EXPECT_EQ(split.value(), checksum_of(data));
}

TEST(Checksum, AccumulatorsWrapAndOnlyFifteenBitsSurvive) {
    const std::string ones(4 * 70000, '\xff');
    const uint32_t value = checksum_of(ones);
    EXPECT_EQ(value & 0x1FFFFu, 0u);
    // s1 after k words is -k (mod 2^32); s2 is the sum of those: -(k(k+1)/2).
    const uint64_t k = 70000;
    const uint32_t s2 = static_cast<uint32_t>(0u - static_cast<uint32_t>(k * (k + 1) / 2));
    EXPECT_EQ(value, s2 << 17);
}
