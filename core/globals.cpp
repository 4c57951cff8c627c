#include "core/globals.h"

#include "core/state.h"

std::shared_ptr<orvkit::ostrand_state> app_state;
std::shared_ptr<orvkit::ostrand_state> about_state;

std::atomic<uint32_t> search_mode{0};
std::atomic<int32_t> run_status{0};
std::atomic<int32_t> pause_code{0};
std::atomic<uint64_t> pause_began_at{0};
orvkit::unique_handle go_event;

std::wstring path_a;
std::wstring path_b;
orvkit::published_text shown_path;
std::wstring picked_path;

HWND edit_a = nullptr;
HWND edit_b = nullptr;
HWND list_view = nullptr;
std::atomic<uint32_t> client_width{0};
std::atomic<uint32_t> client_height{0};
std::atomic<uint32_t> window_dpi{96};
uint32_t drop_toggle = 0;
wchar_t window_class_name[100] = {};

std::atomic<int32_t> progress_percent{0};
std::atomic<int32_t> twin_count{0};
LVITEMW row_item{};
uint8_t* compare_buffer_a = nullptr;
uint8_t* compare_buffer_b = nullptr;

uint8_t hover_top = 0;
uint8_t hover_help = 0;
uint8_t hover_choose_a = 0;
uint8_t hover_choose_b = 0;
uint8_t hover_mode = 0;
uint8_t hover_start = 0;

std::atomic<uint8_t> transparent{0};
std::atomic<uint8_t> remove_when_found{0};
std::atomic<uint8_t> remove_column_a{0};
std::atomic<uint8_t> remove_column_b{0};
std::atomic<uint8_t> keep_rule{0};
std::atomic<uint8_t> mark_only{0};
