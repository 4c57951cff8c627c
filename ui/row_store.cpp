#include "ui/row_store.h"

#include <algorithm>
#include <cwchar>

namespace orvkit {

row_store::text_id row_store::intern(const wchar_t* text) { return texts_.intern(text ? text : L""); }

void row_store::insert(int index, const wchar_t* text) {
    std::lock_guard<std::mutex> hold(lock_);
    const std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), rows_.size());
    const row added{intern(text), intern(nullptr), intern(nullptr)};
    rows_.push_back(added);
    for (std::size_t i = rows_.size() - 1; i > at; --i) row_at(i) = row_at(i - 1);
    row_at(at) = added;
    // Rows that moved down show other texts now.
    if (at + 1 < rows_.size()) {
        mark_changed(static_cast<int>(at));
        mark_changed(static_cast<int>(rows_.size() - 1));
    }
}

bool row_store::set(int index, int column, const wchar_t* text) {
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size() || column < 0 || column >= columns) return false;
    row_at(static_cast<std::size_t>(index))[static_cast<std::size_t>(column)] = intern(text);
    mark_changed(index);
    return true;
}

bool row_store::erase(int index) {
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) return false;
    for (std::size_t i = static_cast<std::size_t>(index); i + 1 < rows_.size(); ++i) row_at(i) = row_at(i + 1);
    rows_.shrink_to(rows_.size() - 1);
    return true;
}

void row_store::clear() {
    std::lock_guard<std::mutex> hold(lock_);
    // Swapped out so the memory of a large list is given back, not kept as capacity.
    rows_.clear();
    texts_.clear();
    changed_first_ = changed_last_ = no_row;
}

int row_store::count() const {
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(rows_.size());
}

int row_store::copy(int index, int column, wchar_t* buffer, int units) const {
    if (!buffer || units <= 0) return 0;
    buffer[0] = L'\0';
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size() || column < 0 || column >= columns) return 0;
    const kept_text& text = cell(static_cast<std::size_t>(index), column);
    const std::size_t length = std::min<std::size_t>(text.length, static_cast<std::size_t>(units - 1));
    std::wmemcpy(buffer, text.units, length);
    buffer[length] = L'\0';
    return static_cast<int>(length);
}

std::wstring row_store::text(int index, int column) const {
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size() || column < 0 || column >= columns) return {};
    return std::wstring(cell(static_cast<std::size_t>(index), column).view());
}

std::pair<int, int> row_store::take_changed() {
    std::lock_guard<std::mutex> hold(lock_);
    const std::pair<int, int> changed{changed_first_, changed_last_};
    changed_first_ = changed_last_ = no_row;
    return changed;
}

void row_store::mark_changed(int index) {
    if (changed_first_ == no_row || index < changed_first_) changed_first_ = index;
    if (changed_last_ == no_row || index > changed_last_) changed_last_ = index;
}

}  // namespace orvkit
