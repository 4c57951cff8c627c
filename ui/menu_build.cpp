#include "ui/menu_build.h"

#include <string>
#include <utility>

#include "core/globals.h"
#include "core/removal_journal.h"
#include "core/result_cells.h"
#include "core/run_options.h"
#include "core/run_protocol.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "ui/menu_ids.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

void add_item(HMENU menu, UINT id, const wchar_t* text, bool checked = false) {
    AppendMenuW(menu, MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), id, text);
}

void add_separator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

void add_submenu(HMENU menu, HMENU submenu, const wchar_t* text) {
    AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), text);
}

// The mark sits at the step a percentage is counted under: values between the
// steps (from an old settings file) show at the next step up.
UINT checked_percentage_item(uint32_t percentage) {
    if (percentage < 51) return menu_percent_50;
    if (percentage <= 75) return menu_percent_75;
    if (percentage <= 90) return menu_percent_90;
    if (percentage <= 95) return menu_percent_95;
    return menu_percent_95 + (percentage - 95);  // 96..100 only when equal; above 100 none
}

void fill_percentage(HMENU menu, uint32_t percentage) {
    static const wchar_t* const texts[] = {L"50%", L"75%", L"90%", L"95%", L"96%",
                                           L"97%", L"98%", L"99%", L"100%"};
    const UINT checked = checked_percentage_item(percentage);
    for (UINT i = 0; i < 9; ++i) add_item(menu, menu_percent_50 + i, texts[i], menu_percent_50 + i == checked);
}

void fill_batch_delete(HMENU menu, const DeleteQueue& deletions) {
    add_item(menu, menu_recycle, L"Recycle", deletions.options.delete_mode == delete_mode_recycle);
    add_item(menu, menu_delete, L"Delete", deletions.options.delete_mode == delete_mode_delete);
    add_item(menu, menu_move_to, (L"Move to " + deletions.options.move_dir).c_str(), deletions.options.delete_mode == delete_mode_move);
    add_separator(menu);
    add_item(menu, menu_select_move_dir, L"Select Move Dir");
}

void fill_settings(const popup_menu_set& menus, const ostrand_state& state) {
    const settings_block& settings = state.settings;
    add_submenu(menus.settings, menus.batch_delete, L"Batch Delete Mode");
    add_submenu(menus.settings, menus.percentage, L"Match Percentage");
    add_item(menus.settings, menu_hash, L"Hash", settings.use_hash == 1);
    add_item(menus.settings, menu_override_read_only, L"Override Read Only", state.deletions.options.override_read_only == 1);
    add_item(menus.settings, menu_remove_empty_dirs, L"Remove ALL Empty Directories", settings.remove_empty_dirs == 1);
    add_item(menus.settings, menu_check_zero_length, L"Check zero length files", settings.check_zero_length == 1);
    add_item(menus.settings, menu_protect_search_this, L"Protect Search This Folder", settings.protect_search_this == 1);
    if (remove_when_found == 1) {
        add_separator(menus.settings);
        add_item(menus.settings, menu_remove_when_found, L"Remove duplicates when they are found", true);
        add_item(menus.settings, menu_mark_only, L"Mark Only", mark_only == 1);
        add_item(menus.settings, menu_column_a, L"Column A", remove_column_a == 1);
        add_item(menus.settings, menu_column_b, L"Column B", remove_column_b == 1);
        add_item(menus.settings, menu_keep_older, L"Keep the Older File", keep_rule == keep_rule_older);
        add_item(menus.settings, menu_keep_newer, L"Keep the Newer File", keep_rule == keep_rule_newer);
        add_item(menus.settings, menu_keep_shorter_path, L"Keep the Shorter Path", keep_rule == keep_rule_shorter_path);
    } else {
        add_item(menus.settings, menu_remove_when_found, L"Remove duplicates when they are found");
    }
}

// A twin row whose Result cell marks a file that would go.
bool list_holds_marks() {
    for (int row = 1, rows = list_row_total(); row < rows; ++row)
        if (marked_column(list_cell_text(row, 2))) return true;
    return false;
}

}  // namespace

popup_menu_set::popup_menu_set(popup_menu_set&& other) noexcept
    : main(std::exchange(other.main, nullptr)),
      settings(std::exchange(other.settings, nullptr)),
      batch_delete(std::exchange(other.batch_delete, nullptr)),
      percentage(std::exchange(other.percentage, nullptr)),
      settings_attached(other.settings_attached) {}

popup_menu_set::~popup_menu_set() {
    if (main) DestroyMenu(main);
    if (settings && !settings_attached) DestroyMenu(settings);
}

popup_menu_set build_popup_menu() {
    const ostrand_state& state = *app_state;
    popup_menu_set menus;
    menus.percentage = CreatePopupMenu();
    menus.batch_delete = CreatePopupMenu();
    menus.settings = CreatePopupMenu();
    menus.main = CreatePopupMenu();
    fill_percentage(menus.percentage, state.settings.match_percentage);
    fill_batch_delete(menus.batch_delete, state.deletions);
    fill_settings(menus, state);

    add_item(menus.main, menu_about, L"About");
    add_item(menus.main, menu_help, L"Help");
    // Taking the idle marker back to idle here, in one step, means a worker that
    // starts later finds the menu already built without its idle section.
    int32_t opened_idle = status_menu_open;
    if (run_status.compare_exchange_strong(opened_idle, status_idle)) {
        add_separator(menus.main);
        if (twin_count > 0 && search_mode != mode_file) {
            add_item(menus.main, menu_details, L"Details");
            add_item(menus.main, menu_remove_row, L"Remove");
            if (list_holds_marks()) add_item(menus.main, menu_remove_marked, L"Remove Marked Files");
        } else {
            add_item(menus.main, menu_resume_seeking, L"Resume Seeking");
            add_item(menus.main, menu_resume_seeking_pruned, L"Resume Seeking+");
        }
        if (undo_offered(state)) add_item(menus.main, menu_undo_removal, L"Undo Last Removal");
        if (list_row_total() > 0) add_item(menus.main, menu_save_results, L"Save Results As\u2026");
    }
    add_separator(menus.main);
    add_item(menus.main, menu_transparent, L"Transparent", transparent == 1);
    add_item(menus.main, menu_on_top, L"On Top", state.settings.on_top == 1);
    if (run_status == status_idle) {
        add_submenu(menus.main, menus.settings, L"Settings");
        menus.settings_attached = true;
    }
    add_separator(menus.main);
    add_item(menus.main, menu_exit, L"Exit");
    return menus;
}

}  // namespace orvkit
