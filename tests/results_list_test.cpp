// The results list of the real main window: rows written from any thread and read back as another program would.
#include <thread>

#include "core/run_protocol.h"
#include "support/window_driver.h"

using namespace test_support;

static std::wstring cell_text(int row, int column) {
    const wchar_t* kinds[] = {L"Z:\\tree\\a\\file", L"Z:\\tree\\b\\copy", L""};
    return column == 2 ? std::to_wstring(row % 101) : kinds[column] + std::to_wstring(row) + L".bin";
}

static void write_rows(int count) {
    for (int row = 0; row < count; ++row) {
        list_insert_row(row, cell_text(row, 0).c_str());
        list_set_cell(row, 1, cell_text(row, 1).c_str());
        list_set_cell(row, 2, cell_text(row, 2).c_str());
    }
}

using ResultsList = main_window_test;

// The window thread does not pump: a row that needed a message would hold the worker.
TEST_F(ResultsList, AWorkersHundredThousandRowsNeedNoMessageAndReadBackExactly) {
    constexpr int rows = 100000;
    HANDLE worker = CreateThread(nullptr, 0, [](void*) -> DWORD {
        write_rows(rows);
        return 0;
    }, nullptr, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(worker, 60000), WAIT_OBJECT_0) << "the worker waited for the window";
    CloseHandle(worker);
    ASSERT_EQ(list_row_count(), rows);
    wchar_t text[cell_text_units];
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < 3; ++column) {
            list_get_cell(row, column, text);
            ASSERT_EQ(text, cell_text(row, column)) << row << "," << column;
            if (row % 10 == 0 || row >= rows - 10) {  // a message each: every tenth row and the last
                ASSERT_EQ(list_cell(row, column), cell_text(row, column)) << "by message " << row << "," << column;
            }
        }
    text[0] = L'x';
    EXPECT_EQ(list_get_cell(rows, 0, text), 0) << "no row past the end";
    EXPECT_EQ(std::wstring(text), L"");
    EXPECT_EQ(list_cell(rows, 0), L"");
}

// Deleted from another thread (answered while pumping) or past the end, inserted in place; one cell of a shared
// text changes alone.
TEST_F(ResultsList, RowEditsLandInPlaceFromAnyThread) {
    write_rows(4);
    std::thread([] { list_delete_row(0); }).detach();
    ASSERT_TRUE(pump_until([] { return list_row_count() == 3; }, 10000));
    list_delete_row(7);
    list_insert_row(1, L"inserted");
    const auto written = [](int row) { return list_row{cell_text(row, 0), cell_text(row, 1), cell_text(row, 2)}; };
    EXPECT_EQ(read_list_rows(), (std::vector<list_row>{written(1), {L"inserted", L"", L""}, written(2), written(3)}));
    list_clear();
    for (int row = 0; row < 3; ++row) list_insert_row(row, L"same");
    list_set_cell(1, 0, L"other");
    EXPECT_EQ(read_list_rows(), (std::vector<list_row>{{L"same", L"", L""}, {L"other", L"", L""}, {L"same", L"", L""}}));
}

TEST_F(ResultsList, TheRefreshTimerScrollsToTheLastRowShown) {
    run_status = status_comparing;  // as while a search runs
    SetTimer(window, refresh_timer, refresh_timer_ms, nullptr);
    std::thread([] { write_rows(3000); list_show_row(2999); }).join();
    EXPECT_TRUE(pump_until([&] { return SendMessageW(list_view, LVM_GETTOPINDEX, 0, 0) > 2900; }, 5000));
}
