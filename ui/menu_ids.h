// Command ids of the popup menu (the low word of WM_COMMAND; the high word is 0).
#pragma once
#include <windows.h>

namespace orvkit {

constexpr UINT menu_about = 2000;
constexpr UINT menu_help = 2001;
constexpr UINT menu_exit = 2002;
constexpr UINT menu_transparent = 2017;
constexpr UINT menu_on_top = 2018;
constexpr UINT menu_remove_empty_dirs = 2019;
constexpr UINT menu_recycle = 2021;
constexpr UINT menu_delete = 2022;
constexpr UINT menu_move_to = 2023;
constexpr UINT menu_select_move_dir = 2024;
constexpr UINT menu_mark_only = 2025;
constexpr UINT menu_percent_50 = 2050;
constexpr UINT menu_percent_75 = 2051;
constexpr UINT menu_percent_90 = 2052;
constexpr UINT menu_percent_95 = 2053;    // 2053..2058: 95% .. 100%
constexpr UINT menu_percent_100 = 2058;
constexpr UINT menu_hash = 2072;
constexpr UINT menu_details = 2073;
constexpr UINT menu_remove_row = 2074;
constexpr UINT menu_check_zero_length = 2075;
constexpr UINT menu_override_read_only = 2076;
constexpr UINT menu_resume_seeking = 2078;
constexpr UINT menu_resume_seeking_pruned = 2079;
constexpr UINT menu_remove_when_found = 2081;
constexpr UINT menu_column_a = 2082;
constexpr UINT menu_column_b = 2083;
constexpr UINT menu_keep_older = 2084;
constexpr UINT menu_keep_newer = 2085;
constexpr UINT menu_keep_shorter_path = 2086;
constexpr UINT menu_protect_search_this = 2087;
constexpr UINT menu_undo_removal = 2090;
constexpr UINT menu_remove_marked = 2091;
constexpr UINT menu_save_results = 2092;

}  // namespace orvkit
