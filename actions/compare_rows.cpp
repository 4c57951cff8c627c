#include "actions/compare_rows.h"

#include "compare/compare_math.h"
#include "ui/results_list.h"

namespace orvkit {

std::atomic<uint64_t> difference_row_limit{default_difference_row_limit};

void compare_rows::start() {
    last_row_ = 0;
    list_insert_row(0, L"Start");
    list_set_cell(0, 2, L"Equal");
}

void compare_rows::difference(uint64_t position, uint64_t length) {
    if (listed_ >= limit_) {
        if (unlisted_ == 0) first_unlisted_ = position;
        ++unlisted_;
        return;
    }
    ++listed_;
    ++last_row_;
    list_insert_row(last_row_, std::to_wstring(position).c_str());
    list_set_cell(last_row_, 1, std::to_wstring(length).c_str());
    list_set_cell(last_row_, 2, L"Different");
    list_show_row(last_row_);
}

void compare_rows::finish(const wchar_t* label, const std::wstring& verdict) {
    if (unlisted_ > 0) {
        ++last_row_;
        list_insert_row(last_row_, std::to_wstring(first_unlisted_).c_str());
        list_set_cell(last_row_, 2, unlisted_runs_text(unlisted_).c_str());
    }
    ++last_row_;
    list_insert_row(last_row_, label);
    list_set_cell(last_row_, 2, verdict.c_str());
    list_show_row(last_row_);
}

}  // namespace orvkit
