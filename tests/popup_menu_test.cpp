// The popup menu of the real main window in each state, the letters typed in it, and what each command does.
#include <tuple>

#include "app/menu_commands.h"
#include "search/list_file.h"
#include "support/dialogs.h"
#include "ui/menu_build.h"
#include "ui/menu_ids.h"

using namespace test_support;

// The settings submenu as a first start shows it.
static std::wstring default_settings() {
    return L"Settings>[Batch Delete Mode>[Recycle=2021*|Delete=2022|Move to " + desktop_folder() +
           L"=2023|-|Select Move Dir=2024]|Match Percentage>[50%=2050|75%=2051|90%=2052|95%=2053|96%=2054|"
           L"97%=2055|98%=2056|99%=2057|100%=2058*]|Hash=2072*|Override Read Only=2076|"
           L"Remove ALL Empty Directories=2019*|Check zero length files=2075*|Protect Search This Folder=2087|"
           L"Remove duplicates when they are found=2081]";
}

static bool has(const std::wstring& text, const std::wstring& wanted) { return text.find(wanted) != std::wstring::npos; }

struct PopupMenu : twin_window_test {
    void command(UINT id) { SendMessageW(window, WM_COMMAND, id, 0); }
    std::wstring settings_menu() {
        const std::wstring menu = right_click_menu(window);
        const auto at = menu.find(L"Settings>");
        return at == std::wstring::npos ? L"" : menu.substr(at, menu.rfind(L"|-|Exit") - at);
    }
    void search_photos() {
        for (int i = 0; i < 3; ++i) tree.make_file(L"other\\f" + std::to_wstring(i), std::string(20 + i, 'o'));
        first = tree.make_file(L"a\\photo.jpg", "the same picture");
        second = tree.make_file(L"b\\photo copy.jpg", "the same picture");
        search(2, tree.path());
        list_clear();
    }
    std::wstring first, second;
};

// Idle: Resume Seeking without twins, Details and Remove with them (never in File mode); busy: only what always
// is; a match percentage off the steps marks the next step up, alone.
TEST_F(PopupMenu, OffersWhatTheStateAllows) {
    EXPECT_EQ(right_click_menu(window), L"About=2000|Help=2001|-|Resume Seeking=2078|Resume Seeking+=2079|-|"
                                        L"Transparent=2017|On Top=2018|" + default_settings() + L"|-|Exit=2002");
    EXPECT_EQ(run_status.load(), status_idle) << "the idle marker does not outlive the menu";
    for (const auto& [twins, mode, items] : {std::tuple{2, 0u, L"|-|Resume Seeking=2078|Resume Seeking+=2079|-|"},
                                            {2, 1u, L"Help=2001|-|Details=2073|Remove=2074|-|Transparent"},
                                            {0, 1u, L"|Resume Seeking+=2079|"}}) {
        twin_count = twins;
        search_mode = mode;
        EXPECT_NE(right_click_menu(window).find(items), std::wstring::npos) << twins << " " << mode;
    }
    run_status = status_comparing;
    EXPECT_EQ(right_click_menu(window), L"About=2000|Help=2001|-|Transparent=2017|On Top=2018|-|Exit=2002");
    EXPECT_EQ(run_status.load(), status_comparing);
    run_status = status_idle;
    const std::pair<uint32_t, const wchar_t*> marks[] = {{97, L"97%=2055*"}, {50, L"50%=2050*"}, {80, L"90%=2052*"},
                                                         {91, L"95%=2053*"}, {64, L"75%=2051*"}, {98, L"98%=2056*"}};
    for (const auto& [percentage, mark] : marks) {
        app_state->settings.match_percentage = percentage;
        const std::wstring menu = settings_menu();
        const auto at = menu.find(L"Match Percentage");
        const std::wstring steps = menu.substr(at, menu.find(L"|Hash") - at);
        EXPECT_TRUE(has(steps, mark)) << percentage;
        EXPECT_EQ(std::count(steps.begin(), steps.end(), L'*'), 1) << percentage;
    }
}

TEST_F(PopupMenu, EveryMenuShownOrBuiltIsDestroyed) {
    std::vector<HMENU> shown, all;
    right_click_menu(window, &shown);
    ASSERT_EQ(shown.size(), 4u);
    run_status = status_comparing;
    right_click_menu(window, &all);
    ASSERT_EQ(all.size(), 1u);
    shown.push_back(all[0]);
    {
        const popup_menu_set busy = build_popup_menu();
        all = {busy.main, busy.settings, busy.batch_delete, busy.percentage};
        EXPECT_EQ(L"Settings>[" + describe_menu(busy.settings) + L"]", default_settings()) << "built, but not offered";
    }
    for (HMENU menu : shown) EXPECT_FALSE(IsMenu(menu));
    for (HMENU menu : all) EXPECT_FALSE(IsMenu(menu)) << "the detached settings menu too";
}

// Alone, the item is chosen; shared, the next one is highlighted; a letter no item starts is refused.
TEST_F(PopupMenu, ALetterPicksTheItemItStarts) {
    run_status = status_menu_open;  // as a right click while idle: the full menu
    const popup_menu_set menus = build_popup_menu();
    const auto index_of = [&](HMENU menu, const wchar_t* text) {
        for (int index = 0; index < GetMenuItemCount(menu); ++index) {
            wchar_t item[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(index), item, 64, MF_BYPOSITION);
            if (std::wstring(item) == text) return index;
        }
        return -1;
    };
    const auto letter = [&](wchar_t key, HMENU menu) {
        return SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP), reinterpret_cast<LPARAM>(menu));
    };
    EXPECT_EQ(letter(L'e', menus.main), MAKELRESULT(index_of(menus.main, L"Exit"), MNC_EXECUTE));
    EXPECT_EQ(letter(L'S', menus.main), MAKELRESULT(index_of(menus.main, L"Settings"), MNC_EXECUTE));
    EXPECT_EQ(letter(L'r', menus.main), MAKELRESULT(index_of(menus.main, L"Resume Seeking"), MNC_SELECT));
    MENUITEMINFOW lit{sizeof(lit), MIIM_STATE};
    lit.fState = MFS_HILITE;
    SetMenuItemInfoW(menus.main, static_cast<UINT>(index_of(menus.main, L"Resume Seeking")), TRUE, &lit);
    EXPECT_EQ(letter(L'r', menus.main), MAKELRESULT(index_of(menus.main, L"Resume Seeking+"), MNC_SELECT));
    EXPECT_EQ(letter(L'd', menus.batch_delete), MAKELRESULT(index_of(menus.batch_delete, L"Delete"), MNC_EXECUTE));
    EXPECT_EQ(letter(L'q', menus.main), 0);
}

// On Top and Transparent set the window's style too (a drop still lands after Transparent); an unknown id, or an edit
// box's notification with its code in the high word, changes nothing.
TEST_F(PopupMenu, EachOptionCommandSetsItsOptionAndCheckMark) {
    for (UINT id : {menu_delete, menu_percent_95 + 3, menu_hash, menu_check_zero_length, menu_remove_empty_dirs,
                    menu_override_read_only, menu_remove_when_found, menu_column_b, menu_mark_only, menu_protect_search_this})
        command(id);
    EXPECT_EQ(app_state->deletions.options.delete_mode, delete_mode_delete);
    EXPECT_EQ(app_state->settings.match_percentage, 98u);
    const std::wstring menu = settings_menu();  // Hash, zero length and empty folders turned off
    for (const wchar_t* mark : {L"Delete=2022*", L"98%=2056*", L"Override Read Only=2076*", L"found=2081*", L"B=2083*",
                                L"Mark Only=2025*", L"Protect Search This Folder=2087*"})
        EXPECT_TRUE(has(menu, mark)) << mark;
    EXPECT_EQ(std::count(menu.begin(), menu.end(), L'*'), 7);
    for (UINT id : {menu_on_top, menu_transparent}) command(id);
    const LONG_PTR styles = WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_ACCEPTFILES;
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & styles, styles);
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && alpha == 75 && flags == LWA_ALPHA);
    EXPECT_TRUE(has(right_click_menu(window), L"Transparent=2017*|On Top=2018*"));
    for (UINT id : {menu_transparent, menu_on_top}) command(id);
    EXPECT_EQ(app_state->settings.on_top, 0);
    EXPECT_EQ(transparent, 0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & styles, WS_EX_ACCEPTFILES);
    drop_names(window, {data_.path()});
    EXPECT_EQ(window_text(edit_a), data_.path());
    command(4711);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(menu_hash, EN_CHANGE), reinterpret_cast<LPARAM>(edit_a));
    EXPECT_EQ(app_state->settings.use_hash, 0) << "still off";
}

TEST_F(PopupMenu, ExitWhileIdleSavesTheOptions) {
    command(menu_exit);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(read_file(data_ / L"dVelk.dat").size(), 2432u);
}

TEST_F(PopupMenu, SelectMoveDirTakesTheFolderChosenButNotACancel) {
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
            HWND view = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
            auto selected = [&] {  // the caret item's text: the folder the browser returns
                wchar_t text[MAX_PATH] = {};
                TVITEMW item{TVIF_TEXT, TreeView_GetSelection(view), 0, 0, text, MAX_PATH};
                const bool read = item.hItem && SendMessageW(view, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
                return std::wstring(read ? text : L"");
            };
            // Wine drops a selection asked for too early: ask until it shows, waiting longer each time.
            const std::wstring leaf = folder.substr(folder.rfind(L'\\') + 1);
            for (int i = 1; !folder.empty() && i <= 12 && selected() != leaf; ++i) {
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
                wait_until([&] { return selected() == leaf; }, 250 * i);
            }
            s.close(dialog, folder.empty() ? IDCANCEL : IDOK);
        }, 20000);
    };
    choose(chosen);
    EXPECT_EQ(app_state->deletions.options.move_dir, chosen);
    EXPECT_TRUE(has(settings_menu(), L"Move to " + chosen + L"=2023*")) << "Move mode";
    command(menu_recycle);
    choose(L"");
    EXPECT_EQ(app_state->deletions.options.move_dir, chosen) << "Cancel keeps the folder";
    EXPECT_EQ(app_state->deletions.options.delete_mode, delete_mode_move) << "and the mark moves to Move to all the same";
}

// The columns and the keep rules need the option and exclude each other; each retitles the list and empties it.
TEST_F(PopupMenu, RemoveWhenFoundOffersColumnsAndKeepRulesThatExcludeEachOther) {
    auto after = [&](std::initializer_list<UINT> commands) {
        add_row(L"row", L"", L"");
        for (UINT id : commands) command(id);
        const std::wstring menu = settings_menu();
        return std::tuple{+remove_when_found, +remove_column_a, +remove_column_b, +keep_rule, list_row_count(),
                          column_titles()[2], menu.substr(menu.find(L"=2087") + 5)};
    };
    const std::wstring off = L"|Remove duplicates when they are found=2081]";
    const std::wstring on = L"|-|Remove duplicates when they are found=2081*|Mark Only=2025|Column A=2082";
    const std::wstring rules = L"|Keep the Older File=2084|Keep the Newer File=2085|Keep the Shorter Path=2086]";
    using s = std::wstring;
    EXPECT_EQ(after({menu_remove_when_found}), std::tuple(1, 0, 0, 0, 1, s(L"Percent"), on + L"|Column B=2083" + rules));
    EXPECT_EQ(after({menu_column_b, menu_column_a}),
              std::tuple(1, 1, 0, 0, 0, s(L"Result"), on + L"*|Column B=2083" + rules));
    EXPECT_EQ(after({menu_column_b}), std::tuple(1, 0, 1, 0, 0, s(L"Result"), on + L"|Column B=2083*" + rules));
    EXPECT_EQ(after({menu_keep_newer}), std::tuple(1, 0, 0, 2, 0, s(L"Result"),
                                                   on + L"|Column B=2083|Keep the Older File=2084|Keep the Newer "
                                                        L"File=2085*|Keep the Shorter Path=2086]"));
    EXPECT_EQ(after({menu_keep_newer}), std::tuple(1, 0, 0, 0, 0, s(L"Percent"), on + L"|Column B=2083" + rules));
    EXPECT_EQ(after({menu_keep_older, menu_column_a}),
              std::tuple(1, 1, 0, 0, 0, s(L"Result"), on + L"*|Column B=2083" + rules));
    EXPECT_EQ(after({menu_keep_shorter_path, menu_remove_when_found}), std::tuple(0, 0, 0, 0, 0, s(L"Percent"), off));
}

// Not the status row, the closing row or no row, nor while a worker writes rows.
TEST_F(PopupMenu, RemoveTakesOnlyATwinRowWhileIdle) {
    for (const wchar_t* text : {L"Start", L"twin 1", L"twin 2", L"twin 3", L"Finished"}) add_row(text, L"", L"");
    twin_count = 3;
    auto remove = [&](int focused, int32_t status = status_idle) {  // the rows' first cells, and the twin count
        focus_row(focused);
        run_status = status;
        command(menu_remove_row);
        std::vector<std::wstring> rows;
        for (const list_row& row : read_list_rows()) rows.push_back(row[0]);
        return std::pair{rows, twin_count.load()};
    };
    using rows = std::vector<std::wstring>;
    for (int row : {-1, 0, 4})
        EXPECT_EQ(remove(row), std::pair(rows{L"Start", L"twin 1", L"twin 2", L"twin 3", L"Finished"}, 3)) << row;
    EXPECT_EQ(remove(3), std::pair(rows{L"Start", L"twin 1", L"twin 2", L"Finished"}, 2));
    EXPECT_EQ(remove(1, status_comparing), std::pair(rows{L"Start", L"twin 1", L"twin 2", L"Finished"}, 2));
    EXPECT_EQ(remove(1), std::pair(rows{L"Start", L"twin 2", L"Finished"}, 1));
}

TEST_F(PopupMenu, ResumeSeekingRepeatsTheLastIndexWithoutWalking) {
    search_photos();
    tree.make_file(L"c\\late copy.jpg", "the same picture");
    SetWindowTextW(edit_a, (tree / L"gone").c_str());
    command(menu_resume_seeking);
    ASSERT_TRUE(pump_until(run_closed, 30000));
    ASSERT_EQ(list_row_count(), 3);
    EXPECT_EQ(read_list_rows()[1], (list_row{first, second, L"100"}));
    EXPECT_EQ(list_cell(2, 1).substr(0, 25), L"1 twins found in 5 files.");
    make_worker_thread = no_worker;  // a start would leave it running
    DeleteFileW((data_ / L"LastList.txt").c_str());
    command(menu_resume_seeking);
    EXPECT_EQ(run_status.load(), status_idle) << "no index starts nothing";
}

TEST_F(PopupMenu, ResumeSeekingPlusTakesThePrunedIndexOfTwoFilesOrMore) {
    search_photos();
    auto pruned = make_file_list();  // the index without its second photo
    ASSERT_EQ(read_list_file(*pruned, L"LastList.txt"), 5);
    for (std::size_t i = 0; i < pruned->records.size(); ++i)
        if (pruned->records[i]->path() == second) pruned->remove_record(i);
    write_list_file(*pruned, L"LastListPruned.txt", L"LastListPunedLast.txt");
    command(menu_resume_seeking_pruned);
    ASSERT_TRUE(pump_until(run_closed, 30000));
    EXPECT_EQ(list_row_count(), 2);
    EXPECT_EQ(list_cell(1, 1).substr(0, 25), L"0 twins found in 4 files.");
    make_worker_thread = no_worker;  // a start would leave it running
    while (pruned->records.size() > 1) pruned->remove_record(0);
    write_list_file(*pruned, L"LastListPruned.txt", L"LastListPunedLast.txt");
    command(menu_resume_seeking_pruned);
    EXPECT_EQ(run_status.load(), status_idle) << "an index of one record starts nothing";
    EXPECT_EQ(list_row_count(), 2) << "and shows nothing";
}
