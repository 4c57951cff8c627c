// The popup menu of the real main window: read back from the real menu handle in
// each state, and every command's effect on the state and on the window.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "app/menu_commands.h"
#include "core/run_protocol.h"
#include "search/list_file.h"
#include "support/dialogs.h"
#include "ui/menu_build.h"
#include "ui/menu_ids.h"

using namespace test_support;
using namespace orvkit;

namespace {

std::wstring desktop() {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE);
    return folder;
}

// The settings submenu as a first start shows it.
std::wstring default_settings() {
    return L"Settings>[Batch Delete Mode>[Recycle=2021*|Delete=2022|Move to " + desktop() +
           L"=2023|-|Select Move Dir=2024]|Match Percentage>[50%=2050|75%=2051|90%=2052|95%=2053|96%=2054|"
           L"97%=2055|98%=2056|99%=2057|100%=2058*]|Hash=2072*|Override Read Only=2076|"
           L"Remove ALL Empty Directories=2019*|Check zero length files=2075*|"
           L"Remove duplicates when they are found=2081]";
}

bool has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class PopupMenu : public twin_window_test {
protected:
    void command(UINT id) { SendMessageW(window, WM_COMMAND, id, 0); }
    std::wstring settings_menu() {
        const std::wstring menu = right_click_menu(window);
        const auto at = menu.find(L"Settings>");
        return at == std::wstring::npos ? L"" : menu.substr(at, menu.rfind(L"|-|Exit") - at);
    }
    // Rows of a finished search: the status row, `twins` twin rows, the closing row.
    void fake_search_rows(int twins) {
        add_row(L"Start", L"", L"");
        for (int i = 1; i <= twins; ++i) add_row(L"twin " + std::to_wstring(i), L"", L"");
        add_row(L"Finished", L"", L"");
        twin_count = twins;
    }
    std::wstring rows() {
        std::wstring text;
        for (int i = 0; i < list_row_count(); ++i) text += (i ? L"," : L"") + list_cell(i, 0);
        return text;
    }
};

}  // namespace

// Idle, the menu offers Resume Seeking without twins and Details and Remove with
// them (never in File mode); while a search runs only the always available items.
// Every menu shown, and the settings menu built but not offered, is destroyed.
TEST_F(PopupMenu, WhatIdleAndBusyMenusOfferAndEveryMenuIsDestroyed) {
    std::vector<HMENU> shown, all;
    const std::wstring idle = L"About=2000|Help=2001|-|Resume Seeking=2078|Resume Seeking+=2079|-|Transparent=2017|"
                              L"On Top=2018|" + default_settings() + L"|-|Exit=2002";
    EXPECT_EQ(right_click_menu(window, &shown), idle);
    EXPECT_EQ(run_status.load(), status_idle) << "the idle marker does not outlive the menu";
    ASSERT_EQ(shown.size(), 4u);
    for (HMENU menu : shown) EXPECT_FALSE(IsMenu(menu));
    fake_search_rows(2);
    search_mode = 0;  // File mode lists no twins, whatever the count says
    EXPECT_TRUE(has(right_click_menu(window), L"|-|Resume Seeking=2078|Resume Seeking+=2079|-|"));
    search_mode = 1;
    EXPECT_TRUE(has(right_click_menu(window), L"Help=2001|-|Details=2073|Remove=2074|-|Transparent"));
    twin_count = 0;
    EXPECT_TRUE(has(right_click_menu(window), L"|Resume Seeking+=2079|"));

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

TEST_F(PopupMenu, OptionCommandsFlipTheirOptionAndMoveTheChecks) {
    for (UINT id : {menu_hash, menu_override_read_only, menu_remove_empty_dirs, menu_check_zero_length, menu_delete,
                    menu_percent_95 + 2})
        command(id);
    const auto& settings = app_state->settings;
    EXPECT_EQ(settings.use_hash + settings.remove_empty_dirs + settings.check_zero_length, 0);
    EXPECT_EQ(app_state->deletions.override_read_only, 1);
    EXPECT_EQ(app_state->deletions.delete_mode * 100 + settings.match_percentage, 197u) << "Delete, 97%";
    // The whole submenu with these options is read back after a restart (SettingsRestart).

    // The percentage's own step is marked; one off the steps marks the next step up, and only that one.
    const std::pair<uint32_t, const wchar_t*> marks[] = {{97, L"97%=2055*"}, {50, L"50%=2050*"}, {80, L"90%=2052*"},
                                                         {91, L"95%=2053*"}, {64, L"75%=2051*"}, {98, L"98%=2056*"}};
    for (const auto& [percentage, mark] : marks) {
        app_state->settings.match_percentage = percentage;
        const std::wstring menu = settings_menu();
        EXPECT_TRUE(has(menu, mark)) << percentage;
        EXPECT_EQ(std::count(menu.begin(), menu.end(), L'*'), 3) << "Delete, Override Read Only, one percentage";
    }
    command(4711);  // an unknown id, and an edit box's notification with its code in the high word
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(menu_hash, EN_CHANGE), reinterpret_cast<LPARAM>(edit_a));
    EXPECT_EQ(settings.use_hash, 0);
}

TEST_F(PopupMenu, OnTopAndTransparentChangeTheWindowAndDropsStillWork) {
    auto ex_style = [&] { return GetWindowLongPtrW(window, GWL_EXSTYLE); };
    command(menu_on_top);
    EXPECT_TRUE(app_state->settings.on_top == 1 && (ex_style() & WS_EX_TOPMOST));
    EXPECT_TRUE(has(right_click_menu(window), L"On Top=2018*"));
    command(menu_on_top);
    EXPECT_TRUE(app_state->settings.on_top == 0 && !(ex_style() & WS_EX_TOPMOST));
    // A flag restored from the settings file is cleared by the first On Top (SettingsRestart).

    command(menu_transparent);
    EXPECT_EQ(transparent.load(), 1);
    EXPECT_TRUE((ex_style() & WS_EX_LAYERED) && (ex_style() & WS_EX_ACCEPTFILES));
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 75);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_TRUE(has(right_click_menu(window), L"Transparent=2017*"));
    command(menu_transparent);
    EXPECT_EQ(transparent.load(), 0);
    EXPECT_TRUE(!(ex_style() & WS_EX_LAYERED) && (ex_style() & WS_EX_ACCEPTFILES));
    drop_names(window, {data_.path()});
    EXPECT_EQ(window_text(edit_a), data_.path()) << "a drop after transparency";
}

// The real folder browser, answered by a helper thread: a folder chosen, then Cancel.
TEST_F(PopupMenu, SelectMoveDirWithTheFolderBrowserAnsweredAndCancelled) {
    menu_open.browse_folder = browse_move_folder;
    // A folder on the prefix's own drive: to show a folder under Z:\ the browser first
    // lists the whole Linux root, which on a fresh prefix can outlast any wait.
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring chosen = std::wstring(temp) + L"moved here " + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(chosen.c_str(), nullptr));
    struct remove_at_end {
        std::wstring folder;
        ~remove_at_end() { RemoveDirectoryW(folder.c_str()); }
    } cleanup{chosen};
    auto answer = [&](const std::wstring& folder) {
        std::wstring texts;
        drive_dialog(L"", [&] { return command(menu_select_move_dir), 0; }, [&](dialog_script& s, HWND dialog) {
            texts = dialog_texts(dialog);
            // The browser's tree: its caret item is the folder the browser will return.
            HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
            auto selected = [&] {
                wchar_t text[MAX_PATH] = {};
                TVITEMW item{TVIF_TEXT};
                item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
                item.pszText = text;
                item.cchTextMax = MAX_PATH;
                return item.hItem && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? std::wstring(text) : L"";
            };
            // Wine drops a selection asked for before the dialog is initialised: ask until it
            // shows, waiting longer each time, since a busy machine expands the tree slowly
            // and asking again starts the expansion over.
            const std::wstring leaf = folder.substr(folder.rfind(L'\\') + 1);
            for (int i = 1; !folder.empty() && i <= 12 && selected() != leaf; ++i) {
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
                wait_until([&] { return selected() == leaf; }, 250 * i);
            }
            press(dialog, folder.empty() ? IDCANCEL : IDOK);
            s.gone(dialog);
        }, 20000);
        return texts;
    };
    EXPECT_TRUE(has(answer(chosen), L"Where the deleted files go"));
    EXPECT_EQ(app_state->deletions.move_dir, chosen);
    EXPECT_EQ(app_state->deletions.delete_mode, 2u);
    EXPECT_TRUE(has(settings_menu(), L"Move to " + chosen + L"=2023*"));

    command(menu_recycle);
    EXPECT_FALSE(answer(L"").empty()) << "the browser was shown";
    EXPECT_EQ(app_state->deletions.move_dir, chosen) << "Cancel keeps the folder";
    EXPECT_EQ(app_state->deletions.delete_mode, 2u) << "and the mark moves to Move to all the same";
}

TEST_F(PopupMenu, RemoveWhenFoundUnlocksTheColumnsWhichExcludeEachOtherAndRetitleTheList) {
    auto columns = [] { return remove_column_a.load() * 2 + remove_column_b.load(); };  // A on: 2, B on: 1
    add_row(L"row", L"", L"");
    command(menu_remove_when_found);
    EXPECT_EQ(remove_when_found.load(), 1);
    EXPECT_EQ(list_row_count(), 1) << "switching it on changes nothing else";
    EXPECT_TRUE(has(settings_menu(), L"=2075*|-|Remove duplicates when they are found=2081*|Column A=2082|Column B=2083]"));
    command(menu_column_b);
    command(menu_column_a);
    EXPECT_EQ(columns(), 2);
    EXPECT_EQ(column_titles(), (std::vector<std::wstring>{L"File A", L"File B", L"Result"}));
    EXPECT_EQ(list_row_count(), 0) << "the list is emptied";
    add_row(L"row", L"", L"");
    command(menu_column_b);
    EXPECT_EQ(columns(), 1);
    EXPECT_EQ(list_row_count(), 0);
    EXPECT_TRUE(has(settings_menu(), L"Column A=2082|Column B=2083*]"));
    command(menu_column_b);
    EXPECT_EQ(columns(), 0);
    EXPECT_EQ(column_titles()[2], L"Percent");
    command(menu_column_a);
    add_row(L"row", L"", L"");
    command(menu_remove_when_found);
    EXPECT_EQ(remove_when_found.load() + columns(), 0);
    EXPECT_EQ(list_row_count(), 0);
    EXPECT_EQ(column_titles()[2], L"Percent");
    const std::wstring unlocked = settings_menu(), end = L"=2075*|Remove duplicates when they are found=2081]";
    EXPECT_EQ(unlocked.rfind(end), unlocked.size() - end.size()) << "no separator, no columns";
}

TEST_F(PopupMenu, RemoveTakesOnlyTwinRowsAndKeepsTheCountOfThoseShown) {
    fake_search_rows(3);
    for (int row : {-1, 0, 4}) {  // no focused row, the status row, the closing row
        focus_row(row);
        command(menu_remove_row);
        EXPECT_EQ(rows(), L"Start,twin 1,twin 2,twin 3,Finished") << row;
    }
    focus_row(3);
    command(menu_remove_row);
    EXPECT_EQ(rows(), L"Start,twin 1,twin 2,Finished") << "the last twin row goes";
    EXPECT_EQ(twin_count.load(), 2);
    focus_row(1);
    run_status = status_comparing;
    command(menu_remove_row);
    EXPECT_EQ(twin_count.load(), 2) << "not while a worker writes rows by their index";
    run_status = status_idle;
    command(menu_remove_row);
    EXPECT_EQ(rows(), L"Start,twin 2,Finished");
    EXPECT_EQ(list_row_count(), twin_count + 2);
}

TEST_F(PopupMenu, ResumeSeekingRepeatsTheLastIndexWithoutWalkingAndPlusTakesThePrunedOne) {
    temp_folder tree;
    for (int i = 0; i < 3; ++i) tree.make_file(L"other\\f" + std::to_wstring(i), std::string(20 + i, 'o'));
    const std::wstring first = tree.make_file(L"a\\photo.jpg", "the same picture");
    const std::wstring second = tree.make_file(L"b\\photo copy.jpg", "the same picture");
    auto twin_row = [] { return list_cell(1, 0) + L"|" + list_cell(1, 1) + L"|" + list_cell(1, 2); };
    search(2, tree.path());
    ASSERT_EQ(list_row_count(), 3);
    EXPECT_EQ(twin_row(), first + L"|" + second + L"|100");

    tree.make_file(L"c\\late copy.jpg", "the same picture");  // a walk would find it
    SetWindowTextW(edit_a, (tree / L"gone").c_str());          // and fail on this
    list_clear();
    command(menu_resume_seeking);
    ASSERT_TRUE(pump_until(run_closed, 30000));
    ASSERT_EQ(list_row_count(), 3);
    EXPECT_EQ(twin_row(), first + L"|" + second + L"|100");
    EXPECT_EQ(list_cell(2, 1).substr(0, 25), L"1 twins found in 5 files.");

    auto pruned = make_file_list();  // the index without its second photo
    ASSERT_EQ(read_list_file(*pruned, L"LastList.txt"), 5);
    for (std::size_t i = 0; i < pruned->records.size(); ++i)
        if (pruned->records[i]->path == second) pruned->remove_record(i);
    write_list_file(*pruned, L"LastListPruned.txt", L"LastListPunedLast.txt");
    command(menu_resume_seeking_pruned);
    ASSERT_TRUE(pump_until(run_closed, 30000));
    EXPECT_EQ(list_row_count(), 2);
    EXPECT_EQ(list_cell(1, 1).substr(0, 25), L"0 twins found in 4 files.");

    static int starts;
    starts = 0;
    make_worker_thread = [](LPTHREAD_START_ROUTINE, HWND) -> HANDLE { return ++starts, nullptr; };
    while (pruned->records.size() > 1) pruned->remove_record(0);
    write_list_file(*pruned, L"LastListPruned.txt", L"LastListPunedLast.txt");
    command(menu_resume_seeking_pruned);
    DeleteFileW((data_ / L"LastList.txt").c_str());
    command(menu_resume_seeking);
    EXPECT_EQ(starts, 0) << "fewer than 2 records start nothing";
    EXPECT_EQ(list_row_count(), 2) << "and show nothing";
    EXPECT_EQ(run_status.load(), status_idle);
}

// Quitting while a search runs: asked, aborted, closed once the worker ends, and
// the options changed meanwhile are not written.
TEST_F(PopupMenu, ExitWhileBusyClosesWithoutWritingTheSettings) {
    run_status = status_comparing;
    std::wstring question;
    drive_dialog(L"", [&] { return command(menu_exit), 0; }, [&](dialog_script&, HWND box) {
        question = dialog_texts(box);
        press(box, IDOK);
    });
    EXPECT_TRUE(has(question, L"Ostrand is busy; abandon and quit?"));
    EXPECT_EQ(run_status.load(), status_abort);
    end_worker_run();
    ASSERT_TRUE(pump_until([&] { return !IsWindow(window); }, 5000));
    EXPECT_FALSE(exists(data_ / L"dVelk.dat"));
}

// The help page beside the program names every item the menu can show.
TEST_F(PopupMenu, HelpPageDescribesEveryMenuItem) {
    wchar_t exe[1024] = {};
    ASSERT_TRUE(GetEnvironmentVariableW(L"OSTRAND_EXE", exe, 1024)) << "run through CTest";
    std::wstring program = to_windows_path(to_unix_path(exe));
    const std::string page = read_file(program.substr(0, program.rfind(L'\\') + 1) + L"ReadMe.htm");
    ASSERT_FALSE(page.empty());
    remove_when_found = 1;
    std::wstring items;
    for (int32_t twins : {0, 1}) {
        twin_count = twins;
        run_status = status_menu_open;
        items += describe_menu(build_popup_menu().main) + L"|";
    }
    for (wchar_t& c : items) c = c == L'[' ? L'|' : c;  // one segment per item, submenus too
    int named = 0;
    for (std::size_t from = 0, bar; (bar = items.find(L'|', from)) != std::wstring::npos; from = bar + 1) {
        std::wstring item = items.substr(from, bar - from);
        item = item.substr(0, std::min(item.find(L'='), item.find(L'>')));  // the text alone
        if (item.empty() || item == L"-" || item.back() == L'%') continue;
        if (item.rfind(L"Move to ", 0) == 0) item = L"Move to";
        EXPECT_TRUE(page.find(std::string(item.begin(), item.end())) != std::string::npos) << item.c_str();
        ++named;
    }
    EXPECT_EQ(named, 2 * 21) << "every item of both menus but the nine percentages";
}
