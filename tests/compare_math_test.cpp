#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "actions/byte_runs.h"
#include "actions/compare_math.h"

using namespace orvkit;

namespace {

using bytes = std::vector<uint8_t>;

struct run_result {
    uint64_t differing = 0;
    std::vector<std::pair<uint64_t, uint64_t>> rows;  // first offset, length
    bool operator==(const run_result&) const = default;
};

// The comparison's definition, one byte at a time.
run_result reference_runs(const bytes& a, const bytes& b, std::size_t block, bool stop_at_first) {
    run_result out;
    uint64_t open = 0;
    std::size_t offset = 0;
    const std::size_t common = std::min(a.size(), b.size());
    while (offset < common) {
        const std::size_t length = std::min(common - offset, block);
        out.differing += open;
        open = 0;
        for (std::size_t i = 0; i < length; ++i) {
            if (a[offset + i] != b[offset + i]) {
                ++open;
                if (stop_at_first) return out.differing += open, out;
            } else if (open > 0) {
                out.rows.emplace_back(offset + i - open, open);
                out.differing += open;
                open = 0;
            }
        }
        offset += length;
    }
    out.differing += open;
    return out;
}

// The same through run_counter, each block cut into random spans.
run_result counted_runs(const bytes& a, const bytes& b, std::size_t block, bool stop_at_first, std::mt19937& rng) {
    run_result out;
    run_counter counter;
    std::size_t offset = 0;
    const std::size_t common = std::min(a.size(), b.size());
    while (offset < common) {
        const std::size_t length = std::min(common - offset, block);
        counter.start_block();
        std::size_t position = 0;
        while (position < length) {
            const std::size_t span_end = std::min(length, position + 1 + rng() % 300);
            closed_run run;
            scan_stop stop;
            // The span is handed over as it lies in a buffer of its own.
            const std::size_t origin = position;
            while ((stop = counter.scan(a.data() + offset + origin, b.data() + offset + origin, origin, position,
                                        span_end, stop_at_first, run)) == scan_stop::run_closed)
                out.rows.emplace_back(offset + run.first, run.length);
            if (stop == scan_stop::first_difference) {
                counter.start_block();
                out.differing = counter.differing;
                return out;
            }
        }
        offset += length;
    }
    counter.start_block();
    out.differing = counter.differing;
    return out;
}

// b differs from a at a random share of the positions, in runs of random length.
bytes scatter(const bytes& a, double start_chance, int longest_run, std::mt19937& rng) {
    bytes b = a;
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (chance(rng) >= start_chance) continue;
        const std::size_t length = 1 + rng() % longest_run;
        for (std::size_t j = i; j < std::min(b.size(), i + length); ++j) b[j] = static_cast<uint8_t>(a[j] + 1 + rng() % 255);
        i += length;
    }
    return b;
}

bytes random_bytes(std::size_t n, std::mt19937& rng) {
    bytes out(n);
    for (auto& x : out) x = static_cast<uint8_t>(rng());
    return out;
}

}  // namespace

TEST(SimilarityPercent, WorkedExamples) {
    EXPECT_EQ(similarity_percent(1000, 0), 100u);
    EXPECT_EQ(similarity_percent(1000, 1), 99u);
    EXPECT_EQ(similarity_percent(1000, 15), 98u);
    EXPECT_EQ(similarity_percent(1048576, 524288), 50u);
    EXPECT_EQ(similarity_percent(50001, 1), 99u) << "scaled count 0, p 100, but a byte differs";
    EXPECT_EQ(similarity_percent(50001, 1024), 97u);
    EXPECT_EQ(similarity_percent(50000, 1024), 97u) << "50,000 is not scaled: 48976*100/50000";
    EXPECT_EQ(similarity_percent(100, 1), 99u);
    EXPECT_EQ(similarity_percent(10, 1), 90u);
    EXPECT_EQ(similarity_percent(10, 10), 0u);
    EXPECT_EQ(similarity_percent(0, 0), 0u);
}

TEST(SimilarityPercent, NeverRisesAsMoreBytesDiffer) {
    for (uint64_t size : {1ull, 7ull, 999ull, 50000ull, 50001ull, 123457ull, 10000000ull}) {
        uint32_t last = similarity_percent(size, 0);
        for (uint64_t d = 1; d <= size; d += 1 + d / 50) {
            const uint32_t p = similarity_percent(size, d);
            EXPECT_LE(p, last) << size << " " << d;
            EXPECT_LT(p, 100u);
            last = p;
        }
    }
}

TEST(CompareProgress, UsesSizeBAndScalesAboveTwentyMillion) {
    EXPECT_EQ(compare_progress(1000, 1000), 0);
    EXPECT_EQ(compare_progress(1000, 0), 100);
    EXPECT_EQ(compare_progress(1500, 1000), 33) << "A shorter than B starts above 0";
    EXPECT_EQ(compare_progress(20000000, 10000000), 50);
    // 30,000,000 >> 16 = 457; 20,000,000 >> 16 = 305: (457 - 305) * 100 / 457.
    EXPECT_EQ(compare_progress(30000000, 20000000), 33);
    EXPECT_EQ(compare_progress(30000000, 0), 100);
}

TEST(DifferingLimit, IsTheFirstCountBelowTheMatchPercentage) {
    for (uint64_t size = 1; size <= 260; ++size)
        for (uint32_t match = 0; match <= 101; ++match) {
            uint64_t expected = UINT64_MAX;
            for (uint64_t d = 1; d <= size; ++d)
                if (similarity_percent(size, d) < match) {
                    expected = d;
                    break;
                }
            ASSERT_EQ(differing_limit(size, match), expected) << size << " " << match;
        }
    for (uint64_t size : {50001ull, 1048576ull, 987654321ull, 1ull << 40})
        for (uint32_t match : {50u, 75u, 90u, 95u, 96u, 97u, 98u, 99u, 100u}) {
            const uint64_t limit = differing_limit(size, match);
            EXPECT_LT(similarity_percent(size, limit), match) << size << " " << match;
            EXPECT_GE(similarity_percent(size, limit - 1), match) << size << " " << match;
        }
    EXPECT_EQ(differing_limit(1048576, 100), 1u);
    EXPECT_EQ(differing_limit(1048576, 99), 1024u * 11) << "1024 KiB: 99 holds while fewer than 11 KiB differ";
}

TEST(VerdictText, EqualSizesAndDifferentSizes) {
    EXPECT_EQ(verdict_text(1000, 1000, 0), L"Same");
    EXPECT_EQ(verdict_text(1000, 1000, 1), L"Files have 99% in common");
    EXPECT_EQ(verdict_text(1048576, 1048576, 524288), L"Files have 50% in common");
    EXPECT_EQ(verdict_text(1000, 1500, 0), L"First 1000 bytes the same; File A is 1000 bytes, File B is 1500 bytes");
    EXPECT_EQ(verdict_text(1500, 1000, 15),
              L"First 1000 bytes have 98% in common; File A is 1500 bytes, File B is 1000 bytes");
    EXPECT_EQ(verdict_text(0, 7, 0), L"File A is 0 bytes, File B is 7 bytes");
    EXPECT_EQ(unlisted_runs_text(24999), L"24999 further runs of differing bytes not listed");
    EXPECT_EQ(unlisted_runs_text(1), L"1 further run of differing bytes not listed");
}

TEST(ByteRuns, FindersAgreeWithAPlainLoopAtEveryAlignment) {
    std::mt19937 rng(7);
    for (int round = 0; round < 400; ++round) {
        const std::size_t n = 1 + rng() % 200;
        bytes a = random_bytes(n, rng);
        bytes b = round % 2 ? a : scatter(a, 0.02, 3, rng);
        if (round % 3 == 0) b = random_bytes(n, rng);  // mostly differing: equal bytes are rare
        for (std::size_t from = 0; from <= n; from += 1 + rng() % 5) {
            const std::size_t to = from + rng() % (n - from + 1);
            std::size_t diff = from;
            while (diff < to && a[diff] == b[diff]) ++diff;
            std::size_t same = from;
            while (same < to && a[same] != b[same]) ++same;
            ASSERT_EQ(find_difference(a.data(), b.data(), from, to), diff) << round << " " << from << " " << to;
            ASSERT_EQ(find_equal(a.data(), b.data(), from, to), same) << round << " " << from << " " << to;
        }
    }
}

TEST(ByteRuns, CraftedRunsMatchTheByteByByteCount) {
    std::mt19937 rng(11);
    const bytes a(1000, 0x41);
    auto with = [&](std::initializer_list<std::pair<std::size_t, std::size_t>> runs) {
        bytes b = a;
        for (auto [first, length] : runs)
            for (std::size_t i = first; i < first + length; ++i) b[i] = 0x42;
        return b;
    };
    const std::vector<bytes> cases = {
        a,
        with({{500, 1}}),
        with({{500, 15}}),
        with({{0, 1}}),
        with({{0, 1000}}),
        with({{990, 10}}),            // open at the end: counts without a row
        with({{95, 10}, {300, 1}}),   // crosses the block boundary at 100
        with({{90, 10}}),             // ends exactly at a block boundary
        with({{100, 3}, {199, 2}}),   // starts at a boundary; crosses the next
        with({{1, 1}, {3, 1}, {5, 1}, {7, 64}, {200, 300}}),
    };
    for (std::size_t k = 0; k < cases.size(); ++k)
        for (bool stop : {false, true})
            for (std::size_t block : {100u, 64u, 1000u, 7u}) {
                const run_result want = reference_runs(a, cases[k], block, stop);
                EXPECT_EQ(counted_runs(a, cases[k], block, stop, rng), want) << k << " " << block << " " << stop;
            }
    // The worked case of a run over the boundary: 5 bytes counted without a row, 5 in a row.
    const run_result crossing = reference_runs(a, cases[6], 100, false);
    EXPECT_EQ(crossing.differing, 11u);
    EXPECT_EQ(crossing.rows, (std::vector<std::pair<uint64_t, uint64_t>>{{100, 5}, {300, 1}}));
}

TEST(ByteRuns, RandomInputsMatchTheByteByByteCount) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 300; ++round) {
        const std::size_t n = rng() % 5000;
        const bytes a = random_bytes(n, rng);
        const double density = std::vector<double>{0.0, 0.0005, 0.01, 0.2, 0.9}[round % 5];
        const bytes b = round % 7 == 0 ? random_bytes(n, rng) : scatter(a, density, 1 + rng() % 200, rng);
        const std::size_t block = 1 + rng() % 1500;
        const bool stop = round % 4 == 0;
        ASSERT_EQ(counted_runs(a, b, block, stop, rng), reference_runs(a, b, block, stop))
            << "round " << round << " size " << n << " block " << block;
    }
}
