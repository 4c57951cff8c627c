// The results list's rows in memory: rows across the store's blocks, texts of any length, many distinct texts.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ui/row_store.h"

using namespace orvkit;

// Rows inserted at the end and at the top, erased in the middle, held to a plain vector of the same rows.
TEST(RowStore, RowsKeepTheirTextsAcrossBlocksInsertsAndErasures) {
    row_store rows;
    std::vector<std::array<std::wstring, 3>> model;
    const auto add = [&](int at, const std::wstring& first, const std::wstring& second) {
        rows.insert(at, first.c_str());
        rows.set(at, 1, second.c_str());
        model.insert(model.begin() + at, {first, second, L""});
    };
    for (int i = 0; i < 9000; ++i) add(i, L"r" + std::to_wstring(i), L"p" + std::to_wstring(i % 700));
    add(0, L"Start", std::wstring(40000, L'\u00e9'));  // longer than a block of texts
    add(4097, L"", L"p1");
    for (const int at : {4096, 8192, 1}) {
        rows.erase(at);
        model.erase(model.begin() + at);
    }
    ASSERT_EQ(rows.count(), static_cast<int>(model.size()));
    for (int i = 0; i < rows.count(); ++i)
        for (int column = 0; column < 3; ++column) ASSERT_EQ(rows.text(i, column), model[i][column]) << i << " " << column;
    wchar_t cut[4];
    EXPECT_EQ(rows.copy(0, 1, cut, 4), 3);
    EXPECT_EQ(std::wstring(cut), model[0][1].substr(0, 3));
    EXPECT_EQ(rows.text(rows.count(), 0), L"") << "past the last row";
}
