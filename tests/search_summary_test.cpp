#include <gtest/gtest.h>

#include "search/search_summary.h"

using namespace orvkit;

TEST(SearchSummary, WorkedText) {
    EXPECT_EQ(search_summary({3, 120, 5000, 0, 4, 0}),
              L"3 twins found in 120 files. Total original size 5000 bytes. Total deleted 0 bytes. "
              L"Total folders 4 with 0 empty folders deleted.");
}
