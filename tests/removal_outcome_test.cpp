// What a removal reports is what happened on disk: removals the system refuses, a partner gone before the recycle
// list is sent, two names of one file that look like two volumes, a recycle bin that cannot take a file.
#include <algorithm>
#include <thread>

#include "compare/removal_guard.h"
#include "app/run_control.h"
#include "core/delete_modes.h"
#include "core/file_identity.h"
#include "core/removal_journal.h"
#include "support/dialogs.h"

using namespace test_support;
using namespace orvkit;

namespace {

class RemovalOutcome : public twin_window_test {
protected:
    // Runs `run` while a helper answers No to each box the shell raises before it would destroy a file the
    // recycle bin cannot take; how many it answered.
    static int answering_no(const std::function<void()>& run) {
        const expect_dialogs expected;
        std::atomic<bool> done{false};
        std::atomic<int> answered{0};
        std::thread helper([&] {
            while (!done) {
                for (HWND box : visible_dialogs()) {
                    press(box, IDNO);
                    ++answered;
                    wait_until([&] { return !IsWindow(box); });
                }
                Sleep(20);
            }
        });
        run();
        done = true;
        helper.join();
        return answered;
    }
    // Directory mode, Column B removed as found in `mode`.
    void search_removing_b(uint32_t mode, const std::wstring& folder, const temp_folder& moved) {
        app_state->deletions.delete_mode = mode;
        app_state->deletions.move_dir = moved.path();
        remove_when_found = remove_column_b = 1;
        search(mode_directory, folder);
    }
    // The result cell of the row whose file B is `path`.
    static std::wstring result_of(const std::wstring& path) {
        for (int row = 1; row + 1 < list_row_count(); ++row)
            if (list_cell(row, 1) == path) return list_cell(row, 2);
        return L"no row";
    }
    static std::wstring closing_summary() { return list_cell(list_row_count() - 1, 1); }
    // The journal's lines of `action` for `path`.
    std::size_t journalled(journal_action action, const std::wstring& path) const {
        const std::vector<journal_entry> lines = read_journal(data_ / L"Removals.txt");
        return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const journal_entry& line) {
            return line.action == action && line.path == path;
        }));
    }
};

// Held open without delete sharing, a file cannot leave: it keeps its row's "Not deleted", counts nothing and is
// journalled as failed, while the files before and after it go, in every mode (a refused file stops no recycle list).
TEST_F(RemovalOutcome, ARefusedRemovalIsNotDeletedAndTheOtherFilesStillGo) {
    for (const uint32_t mode : {delete_mode_recycle, delete_mode_delete, delete_mode_move}) {
        SCOPED_TRACE(mode);
        temp_folder tree, moved;
        std::vector<std::wstring> b;
        for (int group = 0; group < 3; ++group) {
            const std::string bytes(1000 * (group + 1), static_cast<char>('a' + group));
            tree.make_file(L"a" + std::to_wstring(group) + L".bin", bytes);
            b.push_back(tree.make_file(L"sub\\b" + std::to_wstring(group) + L".bin", bytes));
        }
        const unique_handle held(CreateFileW(b[1].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const int asked = answering_no([&] { search_removing_b(mode, tree.path(), moved); });
        EXPECT_EQ(asked, mode == delete_mode_recycle ? 1 : 0) << "the shell asks before it would destroy it";
        EXPECT_EQ(result_of(b[0]) + L"|" + result_of(b[1]) + L"|" + result_of(b[2]), L"Deleted B|Not deleted B|Deleted B");
        EXPECT_TRUE(!exists(b[0]) && exists(b[1]) && !exists(b[2]));
        EXPECT_NE(closing_summary().find(L"Total deleted 4000 bytes."), std::wstring::npos) << closing_summary();
        EXPECT_EQ(journalled(journal_action::failed, b[1]), 1u);
        for (const journal_action done : {journal_action::recycled, journal_action::deleted, journal_action::moved})
            EXPECT_EQ(journalled(done, b[1]), 0u) << "never named as removed";
        const journal_action done = mode == delete_mode_recycle ? journal_action::recycled
                                  : mode == delete_mode_move    ? journal_action::moved
                                                                : journal_action::deleted;
        EXPECT_EQ(journalled(done, b[0]) + journalled(done, b[2]), 2u);
    }
}

// A file waits for the recycle bin until the search ends; its partner deleted meanwhile (during a pause) no
// longer vouches for it, and no other copy does: it stays.
TEST_F(RemovalOutcome, AQueuedFileStaysWhenItsPartnerIsGoneBeforeTheListIsSent) {
    temp_folder tree, moved;
    const std::wstring partner = tree.make_file(L"a\\1.bin", "one copy"), queued = tree.make_file(L"b\\1.bin", "one copy");
    // A pair that takes seconds to compare (differing only in its last byte), met after the first pair.
    constexpr uint64_t big = 2ull << 30;
    tree.make_sparse_file(L"a\\2.bin", big);
    const std::wstring last = tree.make_sparse_file(L"b\\2.bin", big);
    {
        const unique_handle edit(CreateFileW(last.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        const LARGE_INTEGER end{.QuadPart = static_cast<LONGLONG>(big - 1)};
        DWORD written = 0;
        ASSERT_TRUE(SetFilePointerEx(edit.get(), end, nullptr, FILE_BEGIN) && WriteFile(edit.get(), "x", 1, &written, nullptr));
    }
    app_state->deletions.delete_mode = delete_mode_recycle;
    remove_when_found = remove_column_b = 1;
    begin_search(mode_directory, tree.path());
    ASSERT_TRUE(pump_until([] { return list_row_count() > 1 && list_cell(1, 2) == L"Queued B"; }));
    toggle_pause();
    ASSERT_TRUE(DeleteFileW(partner.c_str()));
    pump_for(100);
    toggle_pause();
    ASSERT_TRUE(pump_until(run_closed, 60000));
    EXPECT_EQ(list_cell(1, 1) + L"|" + list_cell(1, 2), queued + L"|Not deleted B");
    EXPECT_TRUE(exists(queued) && !in_trash(queued));
    EXPECT_NE(closing_summary().find(L"Total deleted 0 bytes."), std::wstring::npos) << closing_summary();
}

// Two names of one server folder report two volume serials for one file (here a hard link whose second name the
// seam moves to another volume): opening both shows one file, so neither name goes, and a real pair still does.
TEST_F(RemovalOutcome, TwoNamesOfOneFileThatLookLikeTwoVolumesAreNeverRemovedAgainstEachOther) {
    temp_folder tree, moved;
    const std::wstring first = tree.make_file(L"first\\photo.jpg", "one file, two names");
    const std::wstring second = tree / L"second\\photo.jpg";
    tree.make_folder(L"second");
    ASSERT_TRUE(CreateHardLinkW(second.c_str(), first.c_str(), nullptr));
    tree.make_file(L"first\\copy.txt", "two files");
    const std::wstring copy = tree.make_file(L"second\\copy.txt", "two files");
    volume_serial_seam = [](HANDLE file, uint32_t& serial) {
        wchar_t path[1024] = {};
        if (GetFinalPathNameByHandleW(file, path, 1024, 0) && std::wstring(path).find(L"\\second\\") != std::wstring::npos)
            serial ^= 0x5EC0;
    };
    EXPECT_EQ(removal_guard().check(second, first), removal_verdict::same_file);
    search_removing_b(delete_mode_delete, tree.path(), moved);
    volume_serial_seam = nullptr;
    EXPECT_TRUE(exists(first) && exists(second));
    EXPECT_EQ(result_of(copy), L"Deleted B");
    EXPECT_FALSE(exists(copy));
}

using WithoutRecycleBin = RemovalOutcome;

// Run with a recycle bin that cannot be made (see tests/CMakeLists.txt): the shell keeps the file rather than
// destroy it, and the row, the total and the journal say so.
TEST_F(WithoutRecycleBin, AFileTheBinCannotTakeIsKeptAndCountsNothing) {
    temp_folder tree, moved;
    tree.make_file(L"a.bin", std::string(7000, 'r'));
    const std::wstring b = tree.make_file(L"sub\\b.bin", std::string(7000, 'r'));
    EXPECT_EQ(answering_no([&] { search_removing_b(delete_mode_recycle, tree.path(), moved); }), 1)
        << "the shell asks before it would destroy the file";
    EXPECT_EQ(result_of(b), L"Not deleted B");
    EXPECT_EQ(read_file(b), std::string(7000, 'r'));
    EXPECT_NE(closing_summary().find(L"Total deleted 0 bytes."), std::wstring::npos) << closing_summary();
    EXPECT_EQ(journalled(journal_action::failed, b), 1u);
}

}  // namespace
