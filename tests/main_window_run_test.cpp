// Whole runs of the real search worker started, paused and aborted from the
// window's own buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/state.h"
#include "support/pump.h"
#include "support/temp_folder.h"
#include "support/window_fixture.h"

using namespace test_support;

namespace {

class MainWindowRun : public main_window_test {
protected:
    void SetUp() override {
        main_window_test::SetUp();
        app_state->data_path = data.path() + L"\\";  // list files of this test only
        // Files of distinct sizes: indexed and scanned, never a candidate pair.
        for (int i = 0; i < 6; ++i)
            tree.make_file(L"sub" + std::to_wstring(i % 3) + L"\\f" + std::to_wstring(i) + L".bin",
                           std::string(10 + i, 'x'));
        SetWindowTextW(edit_a, tree.path().c_str());
    }
    int closing_row() const {
        const int rows = list_rows();
        for (int row = 1; row < rows; ++row) {
            const std::wstring status = list_cell(row, 0);
            if (status == L"Finished" || status == L"Aborted") return row;
        }
        return -1;
    }
    // The worker has listed its file count and waits at its first pass.
    bool comparing() const { return list_rows() > 0 && list_cell(0, 1).find(L"files found") != std::wstring::npos; }

    temp_folder data;
    temp_folder tree;
};

}  // namespace

TEST_F(MainWindowRun, QuickDirSearchRunsFromStartToTheClosingRow) {
    ASSERT_EQ(search_mode.load(), 2u);
    click_at(window, at.start());
    ASSERT_NE(run_status.load(), 0) << "the Start click started a worker";
    ASSERT_TRUE(pump_until([&] { return run_status == 0 && closing_row() > 0; }, 30000));
    const int row = closing_row();
    EXPECT_EQ(list_cell(0, 0), L"Start");
    EXPECT_EQ(list_cell(0, 1), L"6 files found");
    EXPECT_EQ(list_cell(row, 0), L"Finished");
    EXPECT_EQ(list_cell(row, 1).rfind(L"0 twins found in 6 files.", 0), 0u) << list_cell(row, 1).c_str();
    EXPECT_EQ(twin_count.load(), 0);
    EXPECT_TRUE(pump_until([] { return progress_percent == 100; }, 3000))
        << "the run's end reached the band through the refresh timer";
    EXPECT_TRUE(exists(data / L"LastList.txt")) << "the index is saved in the data folder";
}

TEST_F(MainWindowRun, PauseHoldsTheSearchAndResumeFinishesIt) {
    click_at(window, at.start());
    click_at(window, at.top());  // Pause before the worker gets far: it can list nothing unpumped
    ASSERT_EQ(pause_code.load(), 5);
    ASSERT_TRUE(pump_until([&] { return comparing(); }, 30000));
    pump_for(600);
    EXPECT_EQ(closing_row(), -1) << "paused: no closing row";
    EXPECT_NE(run_status.load(), 0);
    EXPECT_EQ(progress_percent.load(), 0) << "the progress holds";

    click_at(window, at.nowhere());
    click_at(window, at.top());  // Resume
    EXPECT_EQ(pause_code.load(), 0);
    ASSERT_TRUE(pump_until([&] { return run_status == 0 && closing_row() > 0; }, 30000));
    EXPECT_EQ(list_cell(closing_row(), 0), L"Finished");
}

TEST_F(MainWindowRun, AbortEndsThePausedSearchWithAborted) {
    click_at(window, at.start());
    click_at(window, at.top());  // Pause
    ASSERT_TRUE(pump_until([&] { return comparing(); }, 30000));
    click_at(window, at.start());  // Abort
    EXPECT_EQ(pause_code.load(), 10);
    ASSERT_TRUE(pump_until([&] { return run_status == 0 && closing_row() > 0; }, 30000));
    EXPECT_EQ(list_cell(closing_row(), 0), L"Aborted");
    EXPECT_EQ(pause_code.load(), 0) << "the worker's end clears the abort";

    // Idle again: the same button starts a new search.
    click_at(window, at.start());
    ASSERT_TRUE(pump_until([&] { return run_status == 0 && closing_row() > 0; }, 30000));
    EXPECT_EQ(list_cell(closing_row(), 0), L"Finished");
}

TEST_F(MainWindowRun, QuickDirSearchListsTheTwinsFoundFromTheStartClick) {
    const std::wstring first = tree.make_file(L"a\\photo.jpg", "the same picture");
    const std::wstring second = tree.make_file(L"b\\photo copy.jpg", "the same picture");
    click_at(window, at.start());
    ASSERT_TRUE(pump_until([&] { return run_status == 0 && closing_row() > 0; }, 30000));
    ASSERT_EQ(closing_row(), 2);
    EXPECT_EQ(list_cell(1, 0), first);
    EXPECT_EQ(list_cell(1, 1), second);
    EXPECT_EQ(list_cell(1, 2), L"100");
    EXPECT_EQ(list_cell(2, 1).rfind(L"1 twins found in 8 files.", 0), 0u) << list_cell(2, 1).c_str();
}

TEST_F(MainWindowRun, FileModeRunsFromTheStartClickToItsVerdict) {
    click_at(window, at.mode_switch());  // Quick Dir -> QDir+
    click_at(window, at.nowhere());
    click_at(window, at.mode_switch());  // QDir+ -> File
    ASSERT_EQ(search_mode.load(), 0u);
    std::string content(3000, 'q');
    const std::wstring a = tree.make_file(L"a.bin", content);
    content[1000] = 'r';
    content[1001] = 'r';
    const std::wstring b = tree.make_file(L"b.bin", content);
    SetWindowTextW(edit_a, a.c_str());
    SetWindowTextW(edit_b, b.c_str());
    click_at(window, at.nowhere());
    click_at(window, at.start());
    ASSERT_TRUE(pump_until([&] { return run_status == 0 && list_rows() >= 3; }, 30000));
    EXPECT_EQ(list_cell(0, 0), L"Start");
    EXPECT_EQ(list_cell(1, 0), L"1000") << "the position of the run";
    EXPECT_EQ(list_cell(1, 1), L"2");
    EXPECT_EQ(list_cell(1, 2), L"Different");
    EXPECT_EQ(list_cell(2, 0), L"End");
    EXPECT_EQ(list_cell(2, 2), L"Files have 99% in common");
}
