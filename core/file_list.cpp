#include "core/file_list.h"

#include <cwchar>
#include <new>

namespace orvkit {

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

const std::wstring* orvFileList::find_folder(std::wstring_view folder) const {
    const auto known = folder_of_text_.find(folder);
    return known == folder_of_text_.end() ? nullptr : known->second;
}

file_record& orvFileList::add_record(const std::wstring* folder, std::wstring_view name, const file_record& fields) {
    file_record& added = records.push_back(fields);
    added.folder = folder;
    added.name = names_.keep(name);
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
    names_.clear();
    folder_of_text_.clear();
    folders_.clear();
    last_folder_ = nullptr;
    record_count.store(0);
    total_bytes = 0;
}

std::shared_ptr<orvFileList> make_file_list() { return std::make_shared<orvFileList>(); }

}  // namespace orvkit
