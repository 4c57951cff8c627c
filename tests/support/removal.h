// Removals through the real window: a search that removes column B as it finds twins, the Duplicate File
// Action dialog and its column delete answered from a helper thread, and the journal's lines of removals.
#pragma once
#include <set>

#include "app/window_dialogs.h"
#include "core/delete_modes.h"
#include "core/removal_journal.h"
#include "resources/resource_ids.h"
#include "search/keep_rules.h"
#include "support/dialogs.h"

namespace test_support {

enum class answer { no, yes, yes_twice, yes_then_no_at_once, yes_then_no_once_done };

inline void set_written_time(const std::wstring& path, uint64_t ticks) {
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

struct removal_window_test : twin_window_test {
    temp_folder moved;  // Move mode's folder
    struct file {
        std::wstring path;
        std::string bytes;
        uint64_t written;
    };
    void search_removing_b(uint32_t mode, const std::wstring& folder, const temp_folder& moved) {
        app_state->deletions.options.delete_mode = mode;
        app_state->deletions.options.move_dir = moved.path();
        remove_when_found = remove_column_b = 1;
        search(orvkit::mode_directory, folder);
    }
    // Three pairs of copies, g<n>\a<n>.dat and g<n>\sub\b<n>.dat, searched with column B removed in `mode`.
    std::vector<file> search_removing_pairs(uint32_t mode, const temp_folder& tree, const temp_folder& moved) {
        std::vector<file> files;
        for (int group = 0; group < 3; ++group) {
            const std::string bytes(100 + group, static_cast<char>('a' + group));
            const std::wstring g = std::to_wstring(group);
            for (const wchar_t* copy : {L"\\a", L"\\sub\\b"}) {
                const std::wstring path = tree.make_file(L"g" + g + copy + g + L".dat", bytes);
                files.push_back({path, bytes, last_write_ticks(path)});
            }
        }
        search_removing_b(mode, tree.path(), moved);
        return files;
    }
    // The journal's lines that say a file left its path.
    std::vector<orvkit::journal_entry> removals() const {
        std::vector<orvkit::journal_entry> lines = orvkit::read_journal(data_ / L"Removals.txt");
        std::erase_if(lines, [](const orvkit::journal_entry& line) {
            using enum orvkit::journal_action;
            return line.action != recycled && line.action != deleted && line.action != moved;
        });
        return lines;
    }
    // Opens the Duplicate File Action dialog on the focused row while `steps` drive it.
    void run_action_dialog(const std::function<void(dialog_script&, HWND)>& steps) {
        EXPECT_EQ(drive_dialog(L"Duplicate File Action", [&] { return orvkit::open_action_dialog(window); }, steps), 1);
    }
    // "Delete ALL" of column A (0) or B (1) from row 1's dialog, answered; the progress shown until the
    // dialog closes, and the text of its Yes button.
    std::set<std::wstring> delete_column(int column, answer reply, std::wstring* yes_text = nullptr) {
        std::set<std::wstring> seen;
        focus_row(1);
        run_action_dialog([&](dialog_script& s, HWND action) {
            press(action, column ? IDC_DELETE_ALL_B : IDC_DELETE_ALL_A);
            HWND confirm = s.gone(action) ? s.find(L"Ostrand 2.0") : nullptr;
            if (!confirm) return;
            if (yes_text) *yes_text = control_text(confirm, IDOK);
            press(confirm, reply == answer::no ? IDCANCEL : IDOK);
            if (reply == answer::yes_twice) press(confirm, IDOK);
            if (reply == answer::yes_then_no_at_once) press(confirm, IDCANCEL);
            if (reply == answer::yes_then_no_once_done) {  // before the dialog's next poll closes it
                wait_until([] { return run_status == orvkit::status_idle; });
                press(confirm, IDCANCEL);
            }
            const bool closed = wait_until([&] {
                const std::wstring shown = control_text(confirm, IDC_BATCH_PROGRESS);
                if (!shown.empty() && shown != L" ") seen.insert(shown);
                return !IsWindow(confirm);
            }, 60000);
            if (!closed) s.fail(L"the column delete dialog stayed open");
        });
        EXPECT_EQ(run_status.load(), orvkit::status_idle);
        return seen;
    }
};

}  // namespace test_support
