// The results list: rows written by a worker without a message each, read back exactly; the refresh timer.
#include <thread>

#include "core/run_protocol.h"
#include "support/window_driver.h"

using namespace test_support;
using namespace orvkit;

namespace {
std::wstring cell_text(int row, int column) {
    const wchar_t* kinds[] = {L"Z:\\tree\\a\\file", L"Z:\\tree\\b\\copy", L""};
    return column == 2 ? std::to_wstring(row % 101) : kinds[column] + std::to_wstring(row) + L".bin";
}

void write_rows(int count) {
    for (int row = 0; row < count; ++row) {
        list_insert_row(row, cell_text(row, 0).c_str());
        list_set_cell(row, 1, cell_text(row, 1).c_str());
        list_set_cell(row, 2, cell_text(row, 2).c_str());
    }
}

class ResultsList : public main_window_test {};
}  // namespace

TEST_F(ResultsList, HundredThousandRowsFromAWorkerCostNoMessageAndReadBackExactly) {
    // The window thread does not pump: a row that needed a message would hold the worker.
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
    EXPECT_EQ(text + list_cell(rows, 0), L"");
}

// Rows deleted from another thread (sent, as before: answered while pumping) or past the end, inserted in
// place; rows that show one text share it, yet changing one cell changes no other.
TEST_F(ResultsList, DeletingInsertingAndSharedTextsFromAnyThread) {
    write_rows(4);
    std::thread([] { list_delete_row(0); }).detach();
    ASSERT_TRUE(pump_until([] { return list_row_count() == 3; }, 10000));
    list_delete_row(7);
    list_insert_row(1, L"inserted");
    EXPECT_EQ(list_cell(0, 0) + L"|" + list_cell(1, 0) + L"|" + list_cell(2, 0) + L"|" + list_cell(3, 2),
              cell_text(1, 0) + L"|inserted|" + cell_text(2, 0) + L"|3");
    list_clear();
    for (int row = 0; row < 3; ++row) list_insert_row(row, L"same");
    list_set_cell(1, 0, L"other");
    EXPECT_EQ(list_cell(0, 0) + list_cell(1, 0) + list_cell(2, 0) + list_cell(2, 1), L"sameothersame");
}

TEST_F(ResultsList, TheRefreshTimerBringsTheCountAndTheScrollUpToDate) {
    run_status = status_comparing;  // as while a search runs
    SetTimer(window, refresh_timer, refresh_timer_ms, nullptr);
    std::thread([] {
        write_rows(3000);
        list_show_row(2999);
    }).join();
    // Nothing but the timer scrolls: the last row comes into view on its own.
    EXPECT_TRUE(pump_until([&] { return SendMessageW(list_view, LVM_GETTOPINDEX, 0, 0) > 2900; }, 5000));
    EXPECT_EQ(SendMessageW(list_view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_ALL), 0) << "row 0 exists";
    run_status = status_idle;
    KillTimer(window, refresh_timer);
}
