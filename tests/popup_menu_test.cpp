// The popup menu of the real main window: read back from the real menu handle in
// each state, and every command's effect on the state and on the window.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <thread>

#include "app/run_protocol.h"
#include "search/list_file.h"
#include "support/dialog_watchdog.h"
#include "support/menu_reader.h"
#include "support/window_driver.h"
#include "ui/menu_build.h"
#include "ui/menu_ids.h"
#include "ui/popup_menu.h"
#include "ui/results_list.h"

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

// What the menu's openers were asked, in order.
std::vector<std::wstring> opened;
HWND fake_diagnostics = nullptr;

class PopupMenu : public main_window_test {
protected:
    void SetUp() override {
        main_window_test::SetUp();
        app_state->data_path = data.path() + L"\\";
        opened.clear();
        saved_openers = menu_open;
        menu_open.about = [](HWND) -> INT_PTR { return opened.push_back(L"about"), 1; };
        menu_open.diagnostics = [](HWND) { return opened.push_back(L"diagnostics"), fake_diagnostics; };
        menu_open.help = [](std::shared_ptr<ostrand_state> state) { opened.push_back(state ? L"help" : L"help without state"); };
        menu_open.details = [](HWND) { return opened.push_back(L"details"), 1; };
    }
    void TearDown() override {
        menu_open = saved_openers;
        main_window_test::TearDown();
    }
    void command(UINT id) { SendMessageW(window, WM_COMMAND, id, 0); }
    std::wstring settings_menu() {
        const std::wstring menu = right_click_menu(window);
        const auto at = menu.find(L"Settings>");
        return at == std::wstring::npos ? L"" : menu.substr(at, menu.rfind(L"|-|Exit") - at);
    }
    // Rows of a finished search: the status row, `twins` twin rows, the closing row.
    void fake_search_rows(int twins) {
        list_insert_row(0, L"Start");
        for (int i = 1; i <= twins; ++i) list_insert_row(i, (L"twin " + std::to_wstring(i)).c_str());
        list_insert_row(twins + 1, L"Finished");
        twin_count = twins;
    }
    void focus(int row) {
        LVITEMW state{};
        state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        state.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageW(list_view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    std::wstring rows() {
        std::wstring text;
        for (int i = 0; i < list_row_count(); ++i) text += (i ? L"," : L"") + list_cell(i, 0);
        return text;
    }
    temp_folder data;
    menu_openers saved_openers{};
};

}  // namespace

TEST_F(PopupMenu, IdleWithoutTwinsOffersResumeAndTheSettingsAsAFirstStartHasThem) {
    EXPECT_EQ(right_click_menu(window), L"About=2000|Help=2001|-|Resume Seeking=2078|Resume Seeking+=2079|-|"
                                        L"Transparent=2017|On Top=2018|" + default_settings() + L"|-|Exit=2002");
    EXPECT_EQ(run_status.load(), 0) << "the idle marker does not outlive the menu";
    fake_search_rows(2);
    search_mode = 0;  // File mode lists no twins, whatever the count says
    EXPECT_NE(right_click_menu(window).find(L"|-|Resume Seeking=2078|Resume Seeking+=2079|-|"), std::wstring::npos);
    search_mode = 1;
    EXPECT_NE(right_click_menu(window).find(L"Help=2001|-|Details=2073|Remove=2074|-|Transparent"), std::wstring::npos);
    twin_count = 0;
    EXPECT_NE(right_click_menu(window).find(L"|Resume Seeking+=2079|"), std::wstring::npos);
}

TEST_F(PopupMenu, WhileASearchRunsOnlyTheAlwaysAvailableItemsAndEveryMenuIsDestroyed) {
    run_status = status_comparing;
    std::vector<HMENU> shown;
    EXPECT_EQ(right_click_menu(window, &shown), L"About=2000|Help=2001|-|Transparent=2017|On Top=2018|-|Exit=2002");
    EXPECT_EQ(run_status.load(), status_comparing);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(IsMenu(shown[0]));

    std::vector<HMENU> all;
    {
        const popup_menu_set busy = build_popup_menu();
        all = {busy.main, busy.settings, busy.batch_delete, busy.percentage};
        for (HMENU menu : all) EXPECT_TRUE(IsMenu(menu));
        EXPECT_EQ(describe_menu(busy.settings), default_settings().substr(10, default_settings().size() - 11))
            << "built, but not offered";
    }
    for (HMENU menu : all) EXPECT_FALSE(IsMenu(menu)) << "the detached settings menu too";

    run_status = status_idle;
    right_click_menu(window, &shown);
    ASSERT_EQ(shown.size(), 4u);
    for (HMENU menu : shown) EXPECT_FALSE(IsMenu(menu));
}

TEST_F(PopupMenu, OptionCommandsFlipTheirOptionAndMoveTheChecks) {
    for (UINT id : {menu_hash, menu_override_read_only, menu_remove_empty_dirs, menu_check_zero_length}) command(id);
    EXPECT_EQ(app_state->settings.use_hash + app_state->settings.remove_empty_dirs + app_state->settings.check_zero_length, 0);
    EXPECT_EQ(app_state->deletions.override_read_only, 1);
    command(menu_delete);
    EXPECT_EQ(app_state->deletions.delete_mode, 1u);
    command(menu_percent_95 + 2);  // 97%
    EXPECT_EQ(app_state->settings.match_percentage, 97u);
    EXPECT_EQ(settings_menu(),
              L"Settings>[Batch Delete Mode>[Recycle=2021|Delete=2022*|Move to " + desktop() +
                  L"=2023|-|Select Move Dir=2024]|Match Percentage>[50%=2050|75%=2051|90%=2052|95%=2053|96%=2054|"
                  L"97%=2055*|98%=2056|99%=2057|100%=2058]|Hash=2072|Override Read Only=2076*|"
                  L"Remove ALL Empty Directories=2019|Check zero length files=2075|"
                  L"Remove duplicates when they are found=2081]");
    command(menu_move_to);
    EXPECT_EQ(app_state->deletions.delete_mode, 2u);
    command(menu_recycle);
    EXPECT_EQ(app_state->deletions.delete_mode, 0u);
    command(menu_hash);
    EXPECT_EQ(app_state->settings.use_hash, 1);

    const std::pair<uint32_t, const wchar_t*> marks[] = {{50, L"50%=2050*"}, {80, L"90%=2052*"}, {91, L"95%=2053*"},
                                                         {64, L"75%=2051*"}, {98, L"98%=2056*"}};
    for (const auto& [percentage, mark] : marks) {
        app_state->settings.match_percentage = percentage;
        const std::wstring menu = settings_menu();
        EXPECT_NE(menu.find(mark), std::wstring::npos) << percentage;
        EXPECT_EQ(std::count(menu.begin(), menu.end(), L'*'), 4) << "one mark for the percentage, " << percentage;
    }
    const uint32_t values[] = {50, 75, 90, 95, 96, 97, 98, 99, 100};
    for (UINT i = 0; i < 9; ++i) {
        command(menu_percent_50 + i);
        EXPECT_EQ(app_state->settings.match_percentage, values[i]);
    }
    command(4711);  // an unknown id, and an edit box's notification with its code in the high word
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(menu_hash, EN_CHANGE), reinterpret_cast<LPARAM>(edit_a));
    EXPECT_EQ(app_state->settings.use_hash, 1);
}

TEST_F(PopupMenu, OnTopAndTransparentChangeTheWindowAndDropsStillWork) {
    auto ex_style = [&] { return GetWindowLongPtrW(window, GWL_EXSTYLE); };
    command(menu_on_top);
    EXPECT_EQ(app_state->settings.on_top, 1);
    EXPECT_TRUE(ex_style() & WS_EX_TOPMOST);
    EXPECT_NE(right_click_menu(window).find(L"On Top=2018*"), std::wstring::npos);
    command(menu_on_top);
    EXPECT_FALSE(ex_style() & WS_EX_TOPMOST);
    app_state->settings.on_top = 1;  // as a settings file restores it: checked, yet not topmost
    command(menu_on_top);
    EXPECT_EQ(app_state->settings.on_top, 0);
    EXPECT_FALSE(ex_style() & WS_EX_TOPMOST);

    command(menu_transparent);
    EXPECT_EQ(transparent.load(), 1);
    EXPECT_TRUE(ex_style() & WS_EX_LAYERED);
    EXPECT_TRUE(ex_style() & WS_EX_ACCEPTFILES);
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 75);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_NE(right_click_menu(window).find(L"Transparent=2017*"), std::wstring::npos);
    command(menu_transparent);
    EXPECT_EQ(transparent.load(), 0);
    EXPECT_FALSE(ex_style() & WS_EX_LAYERED);
    EXPECT_TRUE(ex_style() & WS_EX_ACCEPTFILES);
    drop_names(window, {data.path()});
    EXPECT_EQ(window_text(edit_a), data.path()) << "a drop after transparency";
}

// The real folder browser, answered by a helper thread: a folder chosen, then Cancel.
TEST_F(PopupMenu, SelectMoveDirWithTheFolderBrowserAnsweredAndCancelled) {
    menu_open.browse_folder = browse_move_folder;
    const std::wstring chosen = data.make_folder(L"moved here");
    auto answer = [&](const std::wstring& folder) {
        expect_dialogs expecting;
        std::wstring texts;
        std::thread helper([&] {
            HWND dialog = nullptr;
            auto shown = [&] {
                EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), [](HWND box, LPARAM found) -> BOOL {
                    wchar_t kind[16] = {};
                    GetClassNameW(box, kind, 16);
                    if (std::wstring(kind) != L"#32770" || !IsWindowVisible(box)) return TRUE;
                    return *reinterpret_cast<HWND*>(found) = box, FALSE;
                }, reinterpret_cast<LPARAM>(&dialog));
                return dialog != nullptr;
            };
            if (!pump_until(shown, 20000)) return;
            EnumChildWindows(dialog, [](HWND child, LPARAM all) {
                return *reinterpret_cast<std::wstring*>(all) += window_text(child) + L"|", TRUE;
            }, reinterpret_cast<LPARAM>(&texts));
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
            // Wine drops a selection asked for before the dialog is initialised: ask until it shows.
            const std::wstring leaf = folder.substr(folder.rfind(L'\\') + 1);
            for (int i = 0; !folder.empty() && i < 50 && selected() != leaf; ++i) {
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
                pump_until([&] { return selected() == leaf; }, 200);
            }
            PostMessageW(dialog, WM_COMMAND, folder.empty() ? IDCANCEL : IDOK, 0);
            if (!pump_until([&] { return !IsWindow(dialog); }, 10000)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        command(menu_select_move_dir);
        helper.join();
        return texts;
    };
    EXPECT_NE(answer(chosen).find(L"Where the deleted files go"), std::wstring::npos);
    EXPECT_EQ(app_state->deletions.move_dir, chosen);
    EXPECT_EQ(app_state->deletions.delete_mode, 2u);
    EXPECT_NE(settings_menu().find(L"Move to " + chosen + L"=2023*"), std::wstring::npos);

    command(menu_recycle);
    EXPECT_FALSE(answer(L"").empty()) << "the browser was shown";
    EXPECT_EQ(app_state->deletions.move_dir, chosen) << "Cancel keeps the folder";
    EXPECT_EQ(app_state->deletions.delete_mode, 2u) << "and the mark moves to Move to all the same";
}

TEST_F(PopupMenu, RemoveWhenFoundUnlocksTheColumnsWhichExcludeEachOtherAndRetitleTheList) {
    list_insert_row(0, L"row");
    command(menu_remove_when_found);
    EXPECT_EQ(remove_when_found.load(), 1);
    EXPECT_EQ(list_row_count(), 1) << "switching it on changes nothing else";
    EXPECT_NE(settings_menu().find(L"Check zero length files=2075*|-|Remove duplicates when they are found=2081*|"
                                   L"Column A=2082|Column B=2083]"),
              std::wstring::npos);
    command(menu_column_b);
    command(menu_column_a);
    EXPECT_EQ(remove_column_a.load() * 2 + remove_column_b.load(), 2) << "A on, B off";
    EXPECT_EQ(column_titles(), (std::vector<std::wstring>{L"File A", L"File B", L"Result"}));
    EXPECT_EQ(list_row_count(), 0) << "the list is emptied";
    list_insert_row(0, L"row");
    command(menu_column_b);
    EXPECT_EQ(remove_column_a.load() * 2 + remove_column_b.load(), 1) << "B on, A off";
    EXPECT_EQ(list_row_count(), 0);
    EXPECT_NE(settings_menu().find(L"Column A=2082|Column B=2083*]"), std::wstring::npos);
    command(menu_column_b);
    EXPECT_EQ(remove_column_a.load() + remove_column_b.load(), 0);
    EXPECT_EQ(column_titles()[2], L"Percent");
    command(menu_column_a);
    list_insert_row(0, L"row");
    command(menu_remove_when_found);
    EXPECT_EQ(remove_when_found.load() + remove_column_a.load() + remove_column_b.load(), 0);
    EXPECT_EQ(list_row_count(), 0);
    EXPECT_EQ(column_titles()[2], L"Percent");
    const std::wstring unlocked = settings_menu(), end = L"=2075*|Remove duplicates when they are found=2081]";
    EXPECT_EQ(unlocked.rfind(end), unlocked.size() - end.size()) << "no separator, no columns";
}

TEST_F(PopupMenu, AboutHelpAndDetailsOpenWhatTheyName) {
    fake_diagnostics = CreateWindowExW(0, L"Static", L"diagnostics", WS_POPUP, 0, 0, 50, 50, window, nullptr, nullptr, nullptr);
    command(menu_about);
    command(menu_help);
    command(menu_details);
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"about", L"diagnostics", L"help", L"details"}));
    EXPECT_TRUE(IsWindowVisible(fake_diagnostics)) << "the diagnostics window is shown";
    DestroyWindow(fake_diagnostics);
    fake_diagnostics = nullptr;
    command(menu_help);
    EXPECT_EQ(opened.back(), L"help") << "the page opens without a diagnostics window too";
}

TEST_F(PopupMenu, RemoveTakesOnlyTwinRowsAndKeepsTheCountOfThoseShown) {
    search_mode = 2;
    fake_search_rows(3);
    const std::wstring all = L"Start,twin 1,twin 2,twin 3,Finished";
    command(menu_remove_row);
    EXPECT_EQ(rows(), all) << "no row has the focus";
    focus(0);
    command(menu_remove_row);
    EXPECT_EQ(rows(), all) << "the status row stays";
    focus(4);
    command(menu_remove_row);
    EXPECT_EQ(rows(), all) << "the closing row stays";
    focus(3);
    command(menu_remove_row);
    EXPECT_EQ(rows(), L"Start,twin 1,twin 2,Finished") << "the last twin row goes";
    EXPECT_EQ(twin_count.load(), 2);
    focus(1);
    run_status = status_comparing;
    command(menu_remove_row);
    EXPECT_EQ(twin_count.load(), 2) << "not while a worker writes rows by their index";
    run_status = status_idle;
    command(menu_remove_row);
    EXPECT_EQ(rows(), L"Start,twin 2,Finished");
    EXPECT_EQ(twin_count.load(), 1);
    EXPECT_EQ(list_row_count(), twin_count + 2);
}

TEST_F(PopupMenu, ResumeSeekingRepeatsTheLastIndexWithoutWalkingAndPlusTakesThePrunedOne) {
    temp_folder tree;
    for (int i = 0; i < 3; ++i) tree.make_file(L"other\\f" + std::to_wstring(i), std::string(20 + i, 'o'));
    const std::wstring first = tree.make_file(L"a\\photo.jpg", "the same picture");
    const std::wstring second = tree.make_file(L"b\\photo copy.jpg", "the same picture");
    auto run_over = [] { return run_status == orvkit::status_idle && list_row_count() > 1 && list_cell(list_row_count() - 1, 0) == L"Finished"; };
    SetWindowTextW(edit_a, tree.path().c_str());
    click_at(start);
    ASSERT_TRUE(pump_until(run_over, 30000));
    ASSERT_EQ(list_row_count(), 3);
    const std::wstring twin_row = list_cell(1, 0) + L"|" + list_cell(1, 1) + L"|" + list_cell(1, 2);
    EXPECT_EQ(twin_row, first + L"|" + second + L"|100");

    tree.make_file(L"c\\late copy.jpg", "the same picture");  // a walk would find it
    SetWindowTextW(edit_a, (tree / L"gone").c_str());          // and fail on this
    list_clear();
    command(menu_resume_seeking);
    ASSERT_TRUE(pump_until(run_over, 30000));
    ASSERT_EQ(list_row_count(), 3);
    EXPECT_EQ(list_cell(1, 0) + L"|" + list_cell(1, 1) + L"|" + list_cell(1, 2), twin_row);
    EXPECT_EQ(list_cell(2, 1).substr(0, 25), L"1 twins found in 5 files.");

    auto pruned = make_file_list();  // the index without its second photo
    ASSERT_EQ(read_list_file(*pruned, L"LastList.txt"), 5);
    for (std::size_t i = 0; i < pruned->records.size(); ++i)
        if (pruned->records[i]->path == second) pruned->remove_record(i);
    write_list_file(*pruned, L"LastListPruned.txt", L"LastListPunedLast.txt");
    command(menu_resume_seeking_pruned);
    ASSERT_TRUE(pump_until(run_over, 30000));
    EXPECT_EQ(list_row_count(), 2);
    EXPECT_EQ(list_cell(1, 1).substr(0, 25), L"0 twins found in 4 files.");

    static int starts;
    starts = 0;
    make_worker_thread = [](LPTHREAD_START_ROUTINE, HWND) -> HANDLE { return ++starts, nullptr; };
    while (pruned->records.size() > 1) pruned->remove_record(0);
    write_list_file(*pruned, L"LastListPruned.txt", L"LastListPunedLast.txt");
    command(menu_resume_seeking_pruned);
    DeleteFileW((data / L"LastList.txt").c_str());
    command(menu_resume_seeking);
    EXPECT_EQ(starts, 0) << "fewer than 2 records start nothing";
    EXPECT_EQ(list_row_count(), 2) << "and show nothing";
    EXPECT_EQ(run_status.load(), 0);
}

TEST_F(PopupMenu, ExitClosesAnIdleWindowAndSavesTheSettings) {
    command(menu_exit);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(read_file(data / L"dVelk.dat").size(), 2432u);
}

// Quitting while a search runs: asked, aborted, closed once the worker ends, and
// the options changed meanwhile are not written.
TEST_F(PopupMenu, ExitWhileBusyClosesWithoutWritingTheSettings) {
    run_status = status_comparing;
    expect_dialogs expecting;
    static std::wstring question;
    SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR timer, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), [](HWND box, LPARAM timer) -> BOOL {
            wchar_t kind[8] = {};
            if (!GetClassNameW(box, kind, 8) || std::wstring(kind) != L"#32770" || !IsWindowVisible(box)) return TRUE;
            EnumChildWindows(box, [](HWND child, LPARAM) { return question += window_text(child) + L"|", TRUE; }, 0);
            KillTimer(nullptr, timer);
            return PostMessageW(box, WM_COMMAND, IDOK, 0), FALSE;
        }, timer);
    });
    command(menu_exit);
    EXPECT_NE(question.find(L"Ostrand is busy; abandon and quit?"), std::wstring::npos);
    EXPECT_EQ(run_status.load(), status_abort);
    orvkit::end_worker_run();
    ASSERT_TRUE(pump_until([&] { return !IsWindow(window); }, 5000));
    EXPECT_FALSE(exists(data / L"dVelk.dat"));
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
        const popup_menu_set menus = build_popup_menu();
        items += describe_menu(menus.main) + L"|";
    }
    for (wchar_t& c : items) c = c == L'[' ? L'|' : c;  // one segment per item, submenus too
    std::size_t from = 0;
    int named = 0;
    for (std::size_t bar; (bar = items.find(L'|', from)) != std::wstring::npos; from = bar + 1) {
        std::wstring item = items.substr(from, bar - from);
        item = item.substr(0, std::min(item.find(L'='), item.find(L'>')));  // the text alone
        if (item.empty() || item == L"-" || item.back() == L'%') continue;
        if (item.rfind(L"Move to ", 0) == 0) item = L"Move to";
        EXPECT_NE(page.find(std::string(item.begin(), item.end())), std::string::npos) << item.c_str();
        ++named;
    }
    EXPECT_EQ(named, 2 * 21) << "every item of both menus but the nine percentages";
}
