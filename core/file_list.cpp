#include "core/file_list.h"

#include <algorithm>
#include <cwchar>
#include <new>

namespace orvkit {

namespace {

constexpr std::size_t name_block_units = 32 * 1024;

}  // namespace

std::wstring file_record::path() const {
    std::wstring out;
    out.reserve(path_length());
    append_path(out);
    return out;
}

std::size_t file_record::path_length() const {
    const std::size_t name_length = name ? std::wcslen(name) : 0;
    return folder ? folder->size() + 1 + name_length : name_length;
}

void file_record::append_path(std::wstring& out) const {
    if (folder) {
        out += *folder;
        out += L'\\';
    }
    if (name) out += name;
}

file_record& record_store::push_back(const file_record& record) {
    if (size_ == blocks_.size() * block_records) blocks_.push_back(std::make_unique<file_record[]>(block_records));
    file_record& added = *(*this)[size_];
    added = record;
    ++size_;
    return added;
}

void record_store::shrink_to(std::size_t count) {
    if (count >= size_) return;
    size_ = count;
    blocks_.resize((count + block_records - 1) / block_records);
}

orvFileList::orvFileList(std::size_t bytes) : read_buffer(new (std::nothrow) uint8_t[bytes]) {
    if (read_buffer) read_buffer_bytes = bytes;
}

orvFileList::~orvFileList() { clear(); }

const std::wstring* orvFileList::add_folder(std::wstring_view folder) {
    if (last_folder_ && *last_folder_ == folder) return last_folder_;
    const auto known = folder_of_text_.find(folder);
    if (known != folder_of_text_.end()) return last_folder_ = known->second;
    const std::wstring* kept = &folders_.emplace_back(folder);
    folder_of_text_.emplace(*kept, kept);
    return last_folder_ = kept;
}

// Names go one after another into blocks that never move; a name longer than a
// block gets a block of its own.
const wchar_t* orvFileList::keep_name(std::wstring_view name) {
    const std::size_t units = name.size() + 1;
    wchar_t* kept = nullptr;
    if (units > name_block_units) {
        kept = name_blocks_.emplace_back(new wchar_t[units]).get();
    } else {
        if (units > name_block_free_) {
            name_next_ = name_blocks_.emplace_back(new wchar_t[name_block_units]).get();
            name_block_free_ = name_block_units;
        }
        kept = name_next_;
        name_next_ += units;
        name_block_free_ -= units;
    }
    std::copy(name.begin(), name.end(), kept);
    kept[name.size()] = L'\0';
    return kept;
}

const std::wstring* orvFileList::find_folder(std::wstring_view folder) const {
    const auto known = folder_of_text_.find(folder);
    return known == folder_of_text_.end() ? nullptr : known->second;
}

file_record& orvFileList::add_record(const std::wstring* folder, std::wstring_view name, const file_record& fields) {
    file_record& added = records.push_back(fields);
    added.folder = folder;
    added.name = keep_name(name);
    return added;
}

file_record& orvFileList::add_record(std::wstring_view path, const file_record& fields) {
    const std::size_t cut = path.rfind(L'\\');
    if (cut == std::wstring_view::npos) return add_record(nullptr, path, fields);
    return add_record(add_folder(path.substr(0, cut)), path.substr(cut + 1), fields);
}

void orvFileList::remove_record(std::size_t index) {
    if (index >= records.size()) return;
    for (std::size_t i = index; i + 1 < records.size(); ++i) *records[i] = *records[i + 1];
    records.shrink_to(records.size() - 1);
    publish_count();
}

void orvFileList::drop_pruned() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i]->pruned) continue;
        if (kept != i) *records[kept] = *records[i];
        ++kept;
    }
    records.shrink_to(kept);
    publish_count();
}

void orvFileList::clear() {
    records.shrink_to(0);
    name_blocks_.clear();
    name_next_ = nullptr;
    name_block_free_ = 0;
    folder_of_text_.clear();
    folders_.clear();
    last_folder_ = nullptr;
    record_count.store(0);
    total_bytes = 0;
}

std::shared_ptr<orvFileList> make_file_list() { return std::make_shared<orvFileList>(); }

}  // namespace orvkit
