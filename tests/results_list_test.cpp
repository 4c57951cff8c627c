// The results list: rows written by a worker without a message each, read back at
// once and exactly through list_get_cell, through LVM_GETITEMTEXTW on this thread,
// from another thread and from another program; the count and the scroll position
// brought up to date by the window's refresh timer.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "core/run_protocol.h"
#include "support/window_driver.h"
#include "ui/results_list.h"

using namespace test_support;
using orvkit::list_get_cell;

namespace {

constexpr int many_rows = 100000;

std::wstring cell_text(int row, int column) {
    const wchar_t* kinds[] = {L"Z:\\tree\\a\\file", L"Z:\\tree\\b\\copy", L""};
    return column == 2 ? std::to_wstring(row % 101) : kinds[column] + std::to_wstring(row) + L".bin";
}

void write_rows(int count) {
    for (int row = 0; row < count; ++row) {
        orvkit::list_insert_row(row, cell_text(row, 0).c_str());
        orvkit::list_set_cell(row, 1, cell_text(row, 1).c_str());
        orvkit::list_set_cell(row, 2, cell_text(row, 2).c_str());
    }
}

std::wstring stored_cell(int row, int column) {
    wchar_t text[orvkit::cell_text_units];
    list_get_cell(row, column, text);
    return text;
}

std::wstring folder_of_this_program() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\'));
}

// Runs list_reader.exe on the list for `rows`, pumping while it asks; its lines.
std::vector<std::string> read_from_another_program(const std::vector<int>& rows) {
    temp_folder scratch;
    const std::wstring output = scratch / L"rows.txt";
    wchar_t window[32];
    swprintf(window, 32, L"%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(list_view)));
    std::wstring command = L"\"" + folder_of_this_program() + L"\\list_reader.exe\" \"" + output + L"\" " + window;
    for (int row : rows) command += L" " + std::to_wstring(row);
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "list_reader.exe cannot be started: " << GetLastError();
        return {};
    }
    const bool ended = pump_until([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 60000);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_TRUE(ended);
    EXPECT_EQ(code, 0u) << "list_reader.exe failed";
    std::ifstream file(output.c_str(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

std::string utf8(const std::wstring& text) { return std::string(text.begin(), text.end()); }  // ASCII texts

class ResultsList : public main_window_test {};

}  // namespace

TEST_F(ResultsList, HundredThousandRowsFromAWorkerCostNoMessageAndReadBackExactly) {
    // The window thread does not pump while the worker writes: a row that needed a
    // message to the list would hold the worker until the wait below gives up.
    HANDLE worker = CreateThread(nullptr, 0, [](void*) -> DWORD { return write_rows(many_rows), 0; }, nullptr, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    ASSERT_EQ(WaitForSingleObject(worker, 60000), WAIT_OBJECT_0) << "the worker waited for the window";
    CloseHandle(worker);

    ASSERT_EQ(list_row_count(), many_rows);
    for (int row = 0; row < many_rows; ++row)
        for (int column = 0; column < 3; ++column) {
            ASSERT_EQ(stored_cell(row, column), cell_text(row, column)) << row << "," << column;
            if (row % 10 == 0 || row >= many_rows - 10) {  // a message each: every tenth row and the last
                ASSERT_EQ(list_cell(row, column), cell_text(row, column)) << "LVM_GETITEMTEXTW " << row << "," << column;
            }
        }
    EXPECT_EQ(list_cell(many_rows, 0), L"") << "no row past the end";
    wchar_t text[orvkit::cell_text_units] = L"x";
    EXPECT_EQ(list_get_cell(many_rows, 0, text), 0);
    EXPECT_EQ(std::wstring(text), L"");

    // Another thread sends LVM_GETITEMTEXTW as before; the window answers while pumping.
    std::vector<std::wstring> seen;
    std::thread reader([&] {
        for (int row : {0, 1, 4567, many_rows - 1}) seen.push_back(list_cell(row, 0) + L"|" + list_cell(row, 2));
    });
    ASSERT_TRUE(pump_until([&] { return seen.size() == 4; }, 20000));
    reader.join();
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Z:\\tree\\a\\file0.bin|0", L"Z:\\tree\\a\\file1.bin|1",
                                               L"Z:\\tree\\a\\file4567.bin|22", L"Z:\\tree\\a\\file99999.bin|9"}));
}

TEST_F(ResultsList, AnotherProgramReadsTheRowsWithListViewMessages) {
    std::thread([] { write_rows(2000); }).join();
    orvkit::list_set_cell(1999, 2, L"Deleted A");  // a cell rewritten after its row was listed
    const auto lines = read_from_another_program({0, 1234, 1999, 2000});
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "count 2000");
    EXPECT_EQ(lines[1], "0\t" + utf8(cell_text(0, 0)) + "\t" + utf8(cell_text(0, 1)) + "\t0");
    EXPECT_EQ(lines[2], "1234\t" + utf8(cell_text(1234, 0)) + "\t" + utf8(cell_text(1234, 1)) + "\t22");
    EXPECT_EQ(lines[3], "1999\t" + utf8(cell_text(1999, 0)) + "\t" + utf8(cell_text(1999, 1)) + "\tDeleted A");
    EXPECT_EQ(lines[4], "2000\t\t\t") << "past the end: empty texts";
}

TEST_F(ResultsList, DeletingAndClearingBehaveAsBeforeFromAnyThread) {
    write_rows(5);
    orvkit::list_delete_row(1);
    ASSERT_EQ(list_row_count(), 4);
    EXPECT_EQ(list_cell(1, 0), cell_text(2, 0)) << "the rows below move up";
    std::thread([] { orvkit::list_delete_row(0); }).detach();  // sends, as before: answered while pumping
    ASSERT_TRUE(pump_until([] { return list_row_count() == 3; }, 10000));
    EXPECT_EQ(list_cell(0, 0) + list_cell(2, 2), cell_text(2, 0) + L"4");
    orvkit::list_delete_row(7);  // no such row: nothing happens
    EXPECT_EQ(list_row_count(), 3);
    orvkit::list_insert_row(0, L"first");
    EXPECT_EQ(list_cell(0, 0) + L"|" + list_cell(1, 0), L"first|" + cell_text(2, 0)) << "inserted in place";
    orvkit::list_clear();
    EXPECT_EQ(list_row_count(), 0);
    EXPECT_EQ(list_cell(0, 0), L"");
}

TEST_F(ResultsList, TheRefreshTimerBringsTheCountAndTheScrollUpToDate) {
    run_status = orvkit::status_comparing;  // as while a search runs
    SetTimer(window, orvkit::refresh_timer, orvkit::refresh_timer_ms, nullptr);
    std::thread([] {
        write_rows(3000);
        orvkit::list_show_row(2999);
    }).join();
    // Nothing but the timer scrolls: the last row comes into view on its own.
    EXPECT_TRUE(pump_until([&] { return SendMessageW(list_view, LVM_GETTOPINDEX, 0, 0) > 2900; }, 5000));
    EXPECT_EQ(SendMessageW(list_view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_ALL), 0) << "row 0 exists";
    run_status = orvkit::status_idle;
    KillTimer(window, orvkit::refresh_timer);
}
