// First pieces read ahead on several threads: taken in order, never more than the window ahead, and what
// the pass never takes is closed.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "base/file_reading.h"
#include "search/read_ahead.h"
#include "support/temp_folder.h"

using namespace test_support;

namespace {

// Job j's piece: j + 1 bytes of value j.
std::vector<uint8_t> piece_of(std::size_t job) { return std::vector<uint8_t>(job % 50 + 1, static_cast<uint8_t>(job)); }

}  // namespace

// Every fifth job is slow, so later jobs finish first; the pass takes slower than the threads read, so
// without the window they would run ahead. Each job still comes in its turn with its own bytes.
TEST(ReadAhead, PiecesComeInOrderAndNoFurtherAheadThanTheWindow) {
    constexpr std::size_t jobs = 200, window = 5;
    std::atomic<std::size_t> taken{0}, too_far{0};
    read_ahead ahead(jobs, 4, window, [&](std::size_t job, early_piece& piece) {
        // The pass counts a take just after it happens, so one job more may already be in reach.
        if (job >= taken.load() + window + 1) ++too_far;
        if (job % 5 == 0) Sleep(3);
        piece.bytes = piece_of(job);
        piece.got = piece.bytes.size();
        piece.tried = job % 7 != 3;  // the rest are left to the pass
    });
    std::vector<uint8_t> target(64);
    for (std::size_t job = 0; job < jobs; ++job) {
        ASSERT_EQ(ahead.next_job(), job);
        unique_handle file;
        std::size_t got = 99;
        const bool read = ahead.take(file, target.data(), got);
        taken = job + 1;
        ASSERT_EQ(read, job % 7 != 3) << job;
        const std::vector<uint8_t> expected = read ? piece_of(job) : std::vector<uint8_t>{};
        ASSERT_EQ(std::vector<uint8_t>(target.begin(), target.begin() + static_cast<std::ptrdiff_t>(got)), expected)
            << job;
        Sleep(1);
    }
    EXPECT_EQ(too_far.load(), 0u);
}

// A pass stopped after two of twenty files: the files opened ahead of it are closed once the read-ahead
// ends, so nothing keeps the file from being opened alone.
TEST(ReadAhead, FilesOpenedButNeverTakenAreClosedAtTheEnd) {
    temp_folder folder;
    const std::wstring path = folder / L"f";
    ASSERT_EQ(run_unix("printf abc > " + quoted(to_unix_path(path))), 0);
    {
        read_ahead ahead(20, 3, 8, [&](std::size_t, early_piece& piece) {
            piece.file = open_for_reading(path);
            piece.tried = true;
        });
        std::vector<uint8_t> target(4);
        for (int i = 0; i < 2; ++i) {
            unique_handle file;
            std::size_t got = 0;
            ASSERT_TRUE(ahead.take(file, target.data(), got));
            ASSERT_TRUE(file);
        }
        Sleep(50);  // the threads fill the window
        unique_handle alone(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_FALSE(alone) << "the window's files are open while the read-ahead lasts";
    }
    unique_handle alone(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(alone);
}
