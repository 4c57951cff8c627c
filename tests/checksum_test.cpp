#include <gtest/gtest.h>

#include <string>

#include "search/checksum.h"

using orvkit::checksum_accumulator;

namespace {

uint32_t checksum_of(const std::string& bytes) {
    checksum_accumulator sum;
    sum.add_block(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return sum.value();
}

}  // namespace

TEST(Checksum, WorkedValuesAndTheBytesLeftOut) {
    EXPECT_EQ(checksum_of(""), 0u);
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
