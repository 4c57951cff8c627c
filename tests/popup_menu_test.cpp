// The popup menu of the real main window in each state, and what each command does.
#include <shlobj.h>

#include <memory>
#include <tuple>

#include "app/menu_commands.h"
#include "search/list_file.h"
#include "support/dialogs.h"
#include "ui/menu_build.h"
#include "ui/menu_ids.h"

using namespace test_support;
using namespace orvkit;

namespace {
// The settings submenu as a first start shows it.
std::wstring default_settings() {
    wchar_t desktop[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    return L"Settings>[Batch Delete Mode>[Recycle=2021*|Delete=2022|Move to " + std::wstring(desktop) +
           L"=2023|-|Select Move Dir=2024]|Match Percentage>[50%=2050|75%=2051|90%=2052|95%=2053|96%=2054|"
           L"97%=2055|98%=2056|99%=2057|100%=2058*]|Hash=2072*|Override Read Only=2076|"
           L"Remove ALL Empty Directories=2019*|Check zero length files=2075*|"
           L"Remove duplicates when they are found=2081]";
}

bool has(const std::wstring& text, const std::wstring& wanted) { return text.find(wanted) != std::wstring::npos; }

class PopupMenu : public twin_window_test {
protected:
    void command(UINT id) { SendMessageW(window, WM_COMMAND, id, 0); }
    std::wstring settings_menu() {
        const std::wstring menu = right_click_menu(window);
        const auto at = menu.find(L"Settings>");
        return at == std::wstring::npos ? L"" : menu.substr(at, menu.rfind(L"|-|Exit") - at);
    }
};
}  // namespace

// Idle: Resume Seeking without twins, Details and Remove with them (never in File mode); busy: only the
// always available items. Every menu shown or built is destroyed.
TEST_F(PopupMenu, WhatIdleAndBusyMenusOfferAndEveryMenuIsDestroyed) {
    std::vector<HMENU> shown, all;
    const std::wstring idle = L"About=2000|Help=2001|-|Resume Seeking=2078|Resume Seeking+=2079|-|Transparent=2017|"
                              L"On Top=2018|" + default_settings() + L"|-|Exit=2002";
    EXPECT_EQ(right_click_menu(window, &shown), idle);
    EXPECT_EQ(run_status.load(), status_idle) << "the idle marker does not outlive the menu";
    ASSERT_EQ(shown.size(), 4u);
    for (HMENU menu : shown) EXPECT_FALSE(IsMenu(menu));
    // File mode lists no twins, whatever the count says.
    for (const auto& [twins, mode, items] : {std::tuple{2, 0u, L"|-|Resume Seeking=2078|Resume Seeking+=2079|-|"},
                                            {2, 1u, L"Help=2001|-|Details=2073|Remove=2074|-|Transparent"},
                                            {0, 1u, L"|Resume Seeking+=2079|"}}) {
        twin_count = twins;
        search_mode = mode;
        EXPECT_TRUE(has(right_click_menu(window), items)) << twins << " " << mode;
    }
    run_status = status_comparing;
    EXPECT_EQ(right_click_menu(window, &shown), L"About=2000|Help=2001|-|Transparent=2017|On Top=2018|-|Exit=2002");
    EXPECT_EQ(run_status.load(), status_comparing);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(IsMenu(shown[0]));
    {
        const popup_menu_set busy = build_popup_menu();
        all = {busy.main, busy.settings, busy.batch_delete, busy.percentage};
        EXPECT_EQ(L"Settings>[" + describe_menu(busy.settings) + L"]", default_settings()) << "built, but not offered";
    }
    for (HMENU menu : all) EXPECT_FALSE(IsMenu(menu)) << "the detached settings menu too";
}

// Each option command sets its option and check mark, On Top and Transparent the window's style too; an
// idle close saves them.
TEST_F(PopupMenu, OptionCommandsChangeTheStateTheWindowAndTheChecksAndAnIdleCloseSavesThem) {
    for (UINT id : {menu_delete, menu_percent_95 + 3, menu_hash, menu_check_zero_length, menu_remove_empty_dirs,
                    menu_override_read_only, menu_on_top, menu_transparent, menu_remove_when_found, menu_column_b})
        command(id);
    const auto& settings = app_state->settings;
    EXPECT_EQ(app_state->deletions.delete_mode * 100 + settings.match_percentage, 198u) << "Delete, 98%";
    const LONG_PTR styles = WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_ACCEPTFILES;
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & styles, styles);
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && alpha == 75 && flags == LWA_ALPHA);
    EXPECT_TRUE(has(right_click_menu(window), L"Transparent=2017*|On Top=2018*"));
    command(menu_transparent);
    command(menu_on_top);
    EXPECT_EQ(settings.on_top + transparent, 0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & styles, WS_EX_ACCEPTFILES);
    drop_names(window, {data_.path()});
    EXPECT_EQ(window_text(edit_a), data_.path()) << "a drop after transparency";
    command(menu_on_top);
    command(menu_transparent);
    // The percentage's own step is marked; one off the steps marks the next step up, and only that one.
    const std::pair<uint32_t, const wchar_t*> marks[] = {{97, L"97%=2055*"}, {50, L"50%=2050*"}, {80, L"90%=2052*"},
                                                         {91, L"95%=2053*"}, {64, L"75%=2051*"}, {98, L"98%=2056*"}};
    for (const auto& [percentage, mark] : marks) {
        app_state->settings.match_percentage = percentage;
        const std::wstring menu = settings_menu();
        EXPECT_TRUE(has(menu, mark)) << percentage;
        EXPECT_EQ(std::count(menu.begin(), menu.end(), L'*'), 5) << "Delete, Override, one percentage, removal, B";
    }
    command(4711);  // an unknown id, and an edit box's notification with its code in the high word
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(menu_hash, EN_CHANGE), reinterpret_cast<LPARAM>(edit_a));
    EXPECT_EQ(settings.use_hash, 0);
    command(menu_exit);  // idle: the window closes at once
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(read_file(data_ / L"dVelk.dat").size(), 2432u);
}

// The real folder browser, answered by a helper thread: a folder chosen, then Cancel.
TEST_F(PopupMenu, SelectMoveDirWithTheFolderBrowserAnsweredAndCancelled) {
    menu_open.browse_folder = browse_move_folder;
    // On the prefix's own drive: under Z:\ the browser first lists the whole Linux root, which is slow.
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring chosen = temp + (L"moved here " + std::to_wstring(GetCurrentProcessId()));
    ASSERT_TRUE(CreateDirectoryW(chosen.c_str(), nullptr));
    const std::unique_ptr<const wchar_t, BOOL(WINAPI*)(LPCWSTR)> remove_at_end(chosen.c_str(), RemoveDirectoryW);
    auto choose = [&](const std::wstring& folder) {  // an empty folder: Cancel
        const auto open = [&] { return SendMessageW(window, WM_COMMAND, menu_select_move_dir, 0); };
        drive_dialog(L"", open, [&](dialog_script& s, HWND dialog) {
            EXPECT_TRUE(has(dialog_texts(dialog), L"Where the deleted files go"));
            HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
            auto selected = [&] {  // the caret item's text: the folder the browser returns
                wchar_t text[MAX_PATH] = {};
                TVITEMW item{TVIF_TEXT, TreeView_GetSelection(tree), 0, 0, text, MAX_PATH};
                const bool read = item.hItem && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
                return std::wstring(read ? text : L"");
            };
            // Wine drops a selection asked for too early: ask until it shows, waiting longer each time.
            const std::wstring leaf = folder.substr(folder.rfind(L'\\') + 1);
            for (int i = 1; !folder.empty() && i <= 12 && selected() != leaf; ++i) {
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
                wait_until([&] { return selected() == leaf; }, 250 * i);
            }
            press(dialog, folder.empty() ? IDCANCEL : IDOK);
            s.gone(dialog);
        }, 20000);
    };
    choose(chosen);
    EXPECT_EQ(app_state->deletions.move_dir, chosen);
    EXPECT_TRUE(has(settings_menu(), L"Move to " + chosen + L"=2023*")) << "Move mode";
    command(menu_recycle);
    choose(L"");
    EXPECT_EQ(app_state->deletions.move_dir, chosen) << "Cancel keeps the folder";
    EXPECT_EQ(app_state->deletions.delete_mode, 2u) << "and the mark moves to Move to all the same";
}

TEST_F(PopupMenu, RemoveWhenFoundUnlocksTheColumnsWhichExcludeEachOtherAndRetitleTheList) {
    // After a row and the commands: the option, column A, column B, the rows, the third title, the menu.
    auto after = [&](std::initializer_list<UINT> commands) {
        add_row(L"row", L"", L"");
        for (UINT id : commands) command(id);
        auto n = [](int value) { return std::to_wstring(value) + L"|"; };
        const std::wstring menu = settings_menu();
        return n(remove_when_found) + n(remove_column_a) + n(remove_column_b) + n(list_row_count()) +
               column_titles()[2] + menu.substr(menu.find(L"=2075*") + 6);
    };
    const std::wstring off = L"|Remove duplicates when they are found=2081]";
    const std::wstring on = L"|-|Remove duplicates when they are found=2081*|Column A=2082";
    EXPECT_EQ(after({menu_remove_when_found}), L"1|0|0|1|Percent" + on + L"|Column B=2083]") << "nothing else changes";
    EXPECT_EQ(after({menu_column_b, menu_column_a}), L"1|1|0|0|Result" + on + L"*|Column B=2083]") << "list emptied";
    EXPECT_EQ(after({menu_column_b}), L"1|0|1|0|Result" + on + L"|Column B=2083*]");
    EXPECT_EQ(after({menu_column_b}), L"1|0|0|0|Percent" + on + L"|Column B=2083]");
    EXPECT_EQ(after({menu_column_a, menu_remove_when_found}), L"0|0|0|0|Percent" + off);
}

TEST_F(PopupMenu, RemoveTakesOnlyTwinRowsAndKeepsTheCountOfThoseShown) {
    for (const wchar_t* text : {L"Start", L"twin 1", L"twin 2", L"twin 3", L"Finished"}) add_row(text, L"", L"");
    twin_count = 3;
    auto remove = [&](int focused, int32_t status = status_idle) {  // the rows left, then the twin count
        focus_row(focused);
        run_status = status;
        command(menu_remove_row);
        std::wstring rows;
        for (int i = 0; i < list_row_count(); ++i) rows += list_cell(i, 0) + L",";
        return rows + std::to_wstring(twin_count);
    };
    for (int row : {-1, 0, 4})  // no focused row, the status row, the closing row
        EXPECT_EQ(remove(row), L"Start,twin 1,twin 2,twin 3,Finished,3") << row;
    EXPECT_EQ(remove(3), L"Start,twin 1,twin 2,Finished,2");
    EXPECT_EQ(remove(1, status_comparing), L"Start,twin 1,twin 2,Finished,2") << "not while a worker writes rows";
    EXPECT_EQ(remove(1), L"Start,twin 2,Finished,1");
}

TEST_F(PopupMenu, ResumeSeekingRepeatsTheLastIndexWithoutWalkingAndPlusTakesThePrunedOne) {
    temp_folder tree;
    for (int i = 0; i < 3; ++i) tree.make_file(L"other\\f" + std::to_wstring(i), std::string(20 + i, 'o'));
    const std::wstring first = tree.make_file(L"a\\photo.jpg", "the same picture");
    const std::wstring second = tree.make_file(L"b\\photo copy.jpg", "the same picture");
    search(2, tree.path());
    tree.make_file(L"c\\late copy.jpg", "the same picture");  // a walk would find it
    SetWindowTextW(edit_a, (tree / L"gone").c_str());          // and fail on this
    list_clear();
    command(menu_resume_seeking);
    ASSERT_TRUE(pump_until(run_closed, 30000));
    ASSERT_EQ(list_row_count(), 3);
    EXPECT_EQ(row_text(1) + list_cell(2, 1).substr(0, 25), first + L"|" + second + L"|1001 twins found in 5 files.");
    auto pruned = make_file_list();  // the index without its second photo
    ASSERT_EQ(read_list_file(*pruned, L"LastList.txt"), 5);
    for (std::size_t i = 0; i < pruned->records.size(); ++i)
        if (pruned->records[i]->path == second) pruned->remove_record(i);
    write_list_file(*pruned, L"LastListPruned.txt", L"LastListPunedLast.txt");
    command(menu_resume_seeking_pruned);
    ASSERT_TRUE(pump_until(run_closed, 30000));
    EXPECT_EQ(list_row_count(), 2);
    EXPECT_EQ(list_cell(1, 1).substr(0, 25), L"0 twins found in 4 files.");
    // An index of one record, or none, starts nothing (a start would leave this stand-in running).
    make_worker_thread = no_worker;
    while (pruned->records.size() > 1) pruned->remove_record(0);
    write_list_file(*pruned, L"LastListPruned.txt", L"LastListPunedLast.txt");
    command(menu_resume_seeking_pruned);
    DeleteFileW((data_ / L"LastList.txt").c_str());
    command(menu_resume_seeking);
    EXPECT_EQ(run_status.load(), status_idle);
    EXPECT_EQ(list_row_count(), 2) << "and shows nothing";
}
