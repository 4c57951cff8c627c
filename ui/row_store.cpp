#include "ui/row_store.h"

#include <algorithm>
#include <cwchar>

namespace orvkit {

row_store::text_id row_store::intern(const wchar_t* text) {
    const std::wstring_view wanted = text ? text : L"";
    const auto found = ids_.find(wanted);
    if (found != ids_.end()) return found->second;
    const text_id id = static_cast<text_id>(texts_.size());
    texts_.emplace_back(wanted);
    ids_.emplace(texts_.back(), id);
    return id;
}

void row_store::insert(int index, const wchar_t* text) {
    std::lock_guard<std::mutex> hold(lock_);
    const std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), rows_.size());
    const std::array<text_id, columns> row{intern(text), intern(nullptr), intern(nullptr)};
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), row);
    // Rows that moved down show other texts now.
    if (at + 1 < rows_.size()) {
        mark_changed(static_cast<int>(at));
        mark_changed(static_cast<int>(rows_.size() - 1));
    }
}

bool row_store::set(int index, int column, const wchar_t* text) {
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size() || column < 0 || column >= columns) return false;
    rows_[static_cast<std::size_t>(index)][static_cast<std::size_t>(column)] = intern(text);
    mark_changed(index);
    return true;
}

bool row_store::erase(int index) {
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) return false;
    rows_.erase(rows_.begin() + index);
    return true;
}

void row_store::clear() {
    std::lock_guard<std::mutex> hold(lock_);
    // Swapped out so the memory of a large list is given back, not kept as capacity.
    std::vector<std::array<text_id, columns>>().swap(rows_);
    std::unordered_map<std::wstring_view, text_id>().swap(ids_);
    std::deque<std::wstring>().swap(texts_);
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
    const std::wstring& text = texts_[rows_[static_cast<std::size_t>(index)][static_cast<std::size_t>(column)]];
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(units - 1));
    std::wmemcpy(buffer, text.data(), length);
    buffer[length] = L'\0';
    return static_cast<int>(length);
}

std::wstring row_store::text(int index, int column) const {
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size() || column < 0 || column >= columns) return {};
    return texts_[rows_[static_cast<std::size_t>(index)][static_cast<std::size_t>(column)]];
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
